#include "FilterReport.h"

namespace lark {

namespace {

// The markup the engine writes, each with what stands for it on a terminal.
// Where one piece starts another, the longer comes first. A line feed after
// a break is the one the break shows; other raw line ends are HTML blanks.
struct Markup {
    std::string_view html, text;
};
constexpr Markup kMarkup[] = {
    {" <font color=green> ", "[+"},
    {" <font color=red> ", "[-"},
    {" </font> ", "]"},
    {" &nbsp;&nbsp;&nbsp;&nbsp; ", "\t"},
    {" &nbsp; ", " "},
    {" <br> \n", "\n"},
    {" <br> ", "\n"},
    {"\r", " "},
    {"\n", " "},
};
constexpr std::string_view kBlanks = " \t\n";

// Ends the mark that opened at `open` in out: the blanks around the pattern
// move outside the brackets, so that "[+ *.gif ]" reads " [+*.gif] ".
void closeMark(std::string &out, size_t open) {
    const std::string sign = out.substr(open, 2);
    const std::string inside = out.substr(open + 2);
    const size_t first = inside.find_first_not_of(kBlanks);
    out.resize(open);
    if (first == std::string::npos) {
        out += sign + inside + "]";
        return;
    }
    const size_t last = inside.find_last_not_of(kBlanks);
    out += inside.substr(0, first) + sign + inside.substr(first, last + 1 - first) + "]" + inside.substr(last + 1);
}

}  // namespace

std::string readableFilterReport(std::string_view html) {
    std::string out;
    size_t open = std::string::npos;  // where the mark being written starts in out
    size_t i = 0;
    while (i < html.size()) {
        const Markup *found = nullptr;
        for (const Markup &m : kMarkup)
            if (html.substr(i).starts_with(m.html)) {
                found = &m;
                break;
            }
        if (!found) {
            out += html[i++];
            continue;
        }
        i += found->html.size();
        if (found->text == "]" && open != std::string::npos) {
            closeMark(out, open);
            open = std::string::npos;
            continue;
        }
        if (found->text.starts_with('[')) open = out.size();
        out += found->text;
    }
    return out;
}

}  // namespace lark
