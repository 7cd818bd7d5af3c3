#pragma once

#include "core/MemoryStream.h"
#include "engine.h"
#include "store/CItemsTable.h"
#include "store/CStrTable.h"
#include "store/CTasksTable.h"
#include "store/CUrlResTable.h"

namespace eng {

static_assert(sizeof(EngUrlResRecord) == 61 + 5 * (sizeof(char *) - 4));
static_assert(sizeof(EngItemRecord) == 24);
static_assert(sizeof(EngDownloadProgressRecord) == 41 + 3 * (sizeof(char *) - 4));
static_assert(sizeof(EngTaskRecord) == 124 + 11 * (sizeof(char *) - 4));

// The records that describe URL resources and task items to the application.
void writeUrlResRecord(MemoryStream &out, const UrlResRow &row, CStrTable &strings);
// The same with the texts of the row's address and form data read already.
void writeUrlResRecord(MemoryStream &out, const UrlResRow &row, std::string_view url, std::string_view formData);
void writeItemRecord(MemoryStream &out, const ItemRow &row);
void writeTaskRecord(MemoryStream &out, const TaskRow &row, CStrTable &strings);

}  // namespace eng
