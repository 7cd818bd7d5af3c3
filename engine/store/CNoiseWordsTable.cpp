#include "store/CNoiseWordsTable.h"

namespace eng {

CNoiseWordsTable::CNoiseWordsTable(Database &db)
    : CTable(db, "NoiseWords", {{"Word", &NoiseWordRow::word, 10}}, {}, "") {}

}  // namespace eng
