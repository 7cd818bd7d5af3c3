#include "filters/Filter.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "base/WildcardMatch.h"
#include "filters/FilterExpression.h"

namespace eng {

namespace {

// An empty expression covers every URL.
std::string ruleText(std::string_view expression) {
    const std::string text(trimmedWhite(asciiLowered(expression)));
    return text.empty() ? "*" : text;
}

// Reads one entry at `pos` and moves past its end; nothing when one of its
// three ';' is missing. An empty digit run reads as 0.
std::optional<FilterRule> readEntry(std::string_view text, size_t &pos) {
    uint32_t numbers[3];
    for (uint32_t &number : numbers) {
        number = 0;
        for (; pos < text.size() && isAsciiDigit(text[pos]); ++pos) number = number * 10 + (text[pos] - '0');
        if (pos == text.size() || text[pos] != ';') return std::nullopt;
        ++pos;
    }
    size_t end = text.find(Filter::kEntryEnd, pos);
    if (end == std::string_view::npos) end = text.size();
    FilterRule rule{numbers[0], ruleText(text.substr(pos, end - pos)), numbers[1], numbers[2], nullptr};
    pos = end + 1;
    return rule;
}

}  // namespace

bool FilterRule::matches(std::string_view loweredUrl) const {
    return tree && evaluate(*tree, [&](const std::string &pattern) { return wildcardMatch(loweredUrl, pattern); });
}

void Filter::parse(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        std::optional<FilterRule> rule = readEntry(text, pos);
        if (!rule) return;
        add(std::move(*rule));
    }
}

// Rules for the same kinds merge: both expressions must hold, and the bounds
// widen to the smaller minimum and the larger maximum.
void Filter::add(FilterRule rule) {
    auto same = std::find_if(rules_.begin(), rules_.end(),
                             [&](const FilterRule &existing) { return existing.kindMask == rule.kindMask; });
    if (same == rules_.end()) {
        rules_.push_back(std::move(rule));
        return;
    }
    if (same->text != rule.text) {
        same->text = "( " + same->text + " ) AND ( " + rule.text + " )";
        same->tree.reset();  // compiled from the old text
    }
    same->minSize = std::min(same->minSize, rule.minSize);
    same->maxSize = std::max(same->maxSize, rule.maxSize);
}

bool Filter::compile() {
    for (FilterRule &rule : rules_) rule.tree = compileFilterExpression(rule.text).tree;
    const size_t before = rules_.size();
    std::erase_if(rules_, [](const FilterRule &rule) { return !rule.tree; });
    return rules_.size() == before;
}

const FilterRule *Filter::ruleFor(uint32_t kind) const {
    auto rule = std::find_if(rules_.begin(), rules_.end(), [&](const FilterRule &r) { return r.covers(kind); });
    return rule == rules_.end() ? nullptr : &*rule;
}

bool Filter::accept(std::string_view url, uint32_t kind) const {
    const FilterRule *rule = ruleFor(kind);
    return !rule || rule->matches(asciiLowered(url));
}

std::optional<SizeLimits> Filter::sizeLimits(std::string_view url, uint32_t kind) const {
    const std::string lowered = asciiLowered(url);
    std::optional<SizeLimits> limits;
    for (const FilterRule &rule : rules_)
        if ((rule.minSize != 0 || rule.maxSize != 0) && rule.covers(kind) && rule.matches(lowered))
            limits = SizeLimits{rule.minSize, rule.maxSize};
    return limits;
}

}  // namespace eng
