#include "search/GlobPattern.h"

#include "base/EngineException.h"

namespace eng {

namespace {

[[noreturn]] void refuse(std::string_view pattern, const char *why) {
    throw CEngineException("The pattern \"" + std::string(pattern) + "\" " + why + ".");
}

// A class's members as GLOB takes them: there a "^" first would negate the
// class, so it moves to the end (a class of "^" alone is that character).
std::string globClass(std::string_view members, bool negated) {
    std::string glob(members);
    if (!negated && glob.front() == '^') {
        if (glob.size() == 1) return "^";
        glob = glob.substr(1) + '^';
    }
    return (negated ? "[^" : "[") + glob + "]";
}

}  // namespace

std::string globPattern(std::string_view pattern) {
    std::string glob;
    for (size_t at = 0; at < pattern.size(); ++at) {
        const char c = pattern[at];
        if (c == '#') {
            glob += "[0-9]";
        } else if (c == '[') {
            const size_t close = pattern.find(']', at + 1);
            if (close == std::string_view::npos) refuse(pattern, "has a \"[\" without its \"]\"");
            std::string_view members = pattern.substr(at + 1, close - at - 1);
            const bool negated = !members.empty() && members.front() == '!';
            if (negated) members.remove_prefix(1);
            if (members.empty()) refuse(pattern, "has an empty class \"[]\"");
            glob += globClass(members, negated);
            at = close;
        } else {
            glob += c;
        }
    }
    return glob;
}

}  // namespace eng
