#include "DateText.h"

#include <charconv>
#include <vector>

#include "base/DateTime.h"

namespace kiv {

namespace {

std::optional<std::vector<int>> numbersOf(std::string_view text) {
    std::vector<int> numbers;
    for (;;) {
        const size_t dash = text.find('-');
        const std::string_view field = text.substr(0, dash);
        int value = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (field.empty() || error != std::errc() || end != field.data() + field.size()) return std::nullopt;
        numbers.push_back(value);
        if (dash == std::string_view::npos) return numbers;
        text.remove_prefix(dash + 1);
    }
}

}  // namespace

std::optional<double> dateOfText(std::string_view text) {
    const auto numbers = numbersOf(text);
    if (!numbers || numbers->size() < 3 || numbers->size() > 6) return std::nullopt;
    const std::vector<int> &n = *numbers;
    const auto at = [&](size_t k) { return k < n.size() ? n[k] : 0; };
    return eng::dateOf(n[2], n[1], n[0], at(3), at(4), at(5));
}

}  // namespace kiv
