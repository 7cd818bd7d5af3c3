#pragma once

#include "store/CAdvUrlResTable.h"
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
#include "store/ItemResourceQuery.h"
#include "store/PageLinkQuery.h"
#include "store/SavedQueries.h"

namespace eng {

// Every table object of an open project, opened together when the project
// opens (which checks that each table and bound column exists) and kept
// until it closes, with the saved queries.
struct ProjectTables {
    ProjectTables(Database &db, CAdvUrlResTable::Send urlResEvents)
        : queries(db),
          strChunks(db),
          strings(db, strChunks),
          project(db),
          folders(db),
          tasks(db),
          rel(db, strings),
          res(db, rel, queries),
          urlRes(db, strings, res, queries, std::move(urlResEvents)),
          items(db, strings, urlRes),
          itemResources(db, items, urlRes, strings),
          pageLinks(db, rel, items),
          auth(db),
          index(db),
          titleIndex(db),
          noiseWords(db) {}

    SavedQueries queries;
    CStrChunks strChunks;
    CStrTable strings;
    CProjectTable project;
    CFoldersTable folders;
    CTasksTable tasks;
    CRelTable rel;
    CResTable res;
    CAdvUrlResTable urlRes;
    CItemsTable items;
    ItemResourceQuery itemResources;
    PageLinkQuery pageLinks;
    CAuthTable auth;
    CIndexTable index;
    CTitleIndexTable titleIndex;
    CNoiseWordsTable noiseWords;
};

}  // namespace eng
