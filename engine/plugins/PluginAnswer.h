#pragma once

#include <string_view>
#include <vector>

#include "store/CRelTable.h"

namespace eng {

// Adds the links of a parser plug-in's answer to a page's links, in the
// answer's order, each that the list does not hold yet with the same kind,
// address and post data. The answer is read record by record (URL, NUL, post
// data, NUL, kind byte; see lark_parser.h) and only within its size: a record
// cut short by its end ends the reading. Each URL is canonicalised with its
// fragment cut; a record whose URL is then empty is skipped. The kind byte
// is kept as it is, even outside the kinds the scanner reports.
void addAnswerLinks(std::string_view answer, std::vector<Link> &links);

}  // namespace eng
