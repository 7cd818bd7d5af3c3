#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filters/ExpressionTree.h"

namespace eng {

// One rule of a filter: which link kinds it covers, the expression of URL
// patterns that judges them, and the size bounds of the resources it matches.
struct FilterRule {
    uint32_t kindMask = 0;           // bit k covers links of kind k
    std::string text;                // the expression, lowercased
    uint32_t minSize = 0;            // 0 = no bound
    uint32_t maxSize = 0;            // 0 = no bound
    std::unique_ptr<ExprNode> tree;  // absent until compiled

    bool covers(uint32_t kind) const { return (kindMask >> (kind % 32)) & 1; }
    // Whether the compiled expression holds for a lowercased URL; a rule not
    // compiled matches nothing.
    bool matches(std::string_view loweredUrl) const;
};

struct SizeLimits {
    uint32_t minSize;
    uint32_t maxSize;
    bool operator==(const SizeLimits &) const = default;
};

// The rules that decide whether a link found while crawling is fetched and
// which size limits apply to it; at most one rule per kind mask.
class Filter {
public:
    // The byte that ends each entry of a filter text.
    static constexpr char kEntryEnd = '\xFF';

    // Adds the rules of a filter text, entries "mask;min;max;expression" each
    // ended by kEntryEnd. A rule whose mask the filter already has is merged
    // into it. An entry that lacks one of its ';' ends the parse there; the
    // rules read before it stay.
    void parse(std::string_view text);
    // Compiles every rule and drops those whose expression does not parse;
    // true when none was dropped.
    bool compile();

    // Whether a link of the kind to the URL is fetched: the first rule that
    // covers the kind decides; without one the link is accepted.
    bool accept(std::string_view url, uint32_t kind) const;
    // The bounds of the last rule with bounds that covers the kind and
    // matches the URL; nothing when no rule does.
    std::optional<SizeLimits> sizeLimits(std::string_view url, uint32_t kind) const;

    // The rule that decides for the kind, or null.
    const FilterRule *ruleFor(uint32_t kind) const;
    const std::vector<FilterRule> &rules() const { return rules_; }

private:
    void add(FilterRule rule);

    std::vector<FilterRule> rules_;
};

}  // namespace eng
