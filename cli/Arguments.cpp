#include "Arguments.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace lark {

namespace {

// The text as a whole decimal number up to the maximum, or nothing.
std::optional<unsigned long> wholeNumber(const std::string &text, unsigned long maximum) {
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front()))) return std::nullopt;
    errno = 0;
    char *end = nullptr;
    const unsigned long n = std::strtoul(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || n > maximum) return std::nullopt;
    return n;
}

}  // namespace

Arguments::Arguments(const std::vector<std::string> &words, const std::set<std::string> &valueOptions,
                     const std::set<std::string> &switches) {
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string &word = words[i];
        if (optionsEnded || word.size() < 3 || !word.starts_with("--")) {
            positional_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = word.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (switches.count(name)) {
            if (inlineValue) throw UsageError("option --" + name + " takes no value");
            switchesSeen_.insert(name);
        } else if (valueOptions.count(name)) {
            if (!inlineValue) {
                if (i + 1 >= words.size()) throw UsageError("option --" + name + " needs a value");
                inlineValue = words[++i];
            }
            options_.emplace(name, *inlineValue);
        } else {
            throw UsageError("unknown option --" + name);
        }
    }
}

const std::string &Arguments::at(size_t index) const {
    if (index >= positional_.size()) throw UsageError("missing argument");
    return positional_[index];
}

void Arguments::expectCount(size_t minimum, size_t maximum) const {
    if (positional_.size() < minimum) throw UsageError("missing argument");
    if (positional_.size() > maximum) throw UsageError("unexpected argument \"" + positional_[maximum] + "\"");
}

uint32_t Arguments::idAt(size_t index, const std::string &name, const std::string &kind) const {
    const std::string &text = at(index);
    const auto n = wholeNumber(text, UINT32_MAX);
    if (!n || *n == 0) throw UsageError(name + " must be a " + kind + " number, not \"" + text + "\"");
    return static_cast<uint32_t>(*n);
}

bool Arguments::has(const std::string &option) const { return switchesSeen_.count(option) || options_.count(option); }

std::optional<std::string> Arguments::value(const std::string &option) const {
    auto range = options_.equal_range(option);
    if (range.first == range.second) return std::nullopt;
    return std::prev(range.second)->second;
}

std::vector<std::string> Arguments::values(const std::string &option) const {
    std::vector<std::string> out;
    auto range = options_.equal_range(option);
    for (auto it = range.first; it != range.second; ++it) out.push_back(it->second);
    return out;
}

unsigned long Arguments::number(const std::string &option, unsigned long fallback, unsigned long maximum) const {
    auto text = value(option);
    if (!text) return fallback;
    const auto n = wholeNumber(*text, maximum);
    if (!n)
        throw UsageError("option --" + option + " needs a whole number up to " + std::to_string(maximum) + ", not \"" +
                         *text + "\"");
    return *n;
}

}  // namespace lark
