#include "store/TableText.h"

namespace eng {

std::string sqlName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

}  // namespace eng
