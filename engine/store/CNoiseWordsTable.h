#pragma once

#include "store/CTable.h"

namespace eng {

struct NoiseWordRow {
    std::string word;
};

// Table NoiseWords: the words that the word index skips.
class CNoiseWordsTable : public CTable<NoiseWordRow> {
public:
    explicit CNoiseWordsTable(Database &db);
};

}  // namespace eng
