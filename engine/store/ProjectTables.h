#pragma once

#include "store/CAuthTable.h"
#include "store/CFoldersTable.h"
#include "store/CIndexTable.h"
#include "store/CItemsTable.h"
#include "store/CNoiseWordsTable.h"
#include "store/CProjectTable.h"
#include "store/CRelTable.h"
#include "store/CResTable.h"
#include "store/CStrChunks.h"
#include "store/CStrTable.h"
#include "store/CTasksTable.h"
#include "store/CUrlResTable.h"
#include "store/SavedQueries.h"

namespace eng {

// Every table object of an open project, opened together when the project
// opens (which checks that each table and bound column exists) and kept
// until it closes, with the saved queries.
struct ProjectTables {
    explicit ProjectTables(Database &db)
        : strChunks(db),
          strings(db, strChunks),
          project(db),
          folders(db),
          tasks(db),
          urlRes(db),
          items(db),
          res(db),
          rel(db),
          auth(db),
          index(db),
          titleIndex(db),
          noiseWords(db),
          queries(db) {}

    CStrChunks strChunks;
    CStrTable strings;
    CProjectTable project;
    CFoldersTable folders;
    CTasksTable tasks;
    CUrlResTable urlRes;
    CItemsTable items;
    CResTable res;
    CRelTable rel;
    CAuthTable auth;
    CIndexTable index;
    CTitleIndexTable titleIndex;
    CNoiseWordsTable noiseWords;
    SavedQueries queries;
};

}  // namespace eng
