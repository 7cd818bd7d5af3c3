#include "DateText.h"

#include <charconv>
#include <chrono>
#include <vector>

namespace kiv {

namespace {

constexpr double kSecondsPerDay = 86400.0;

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
    const int field[6] = {(*numbers)[0],
                          (*numbers)[1],
                          (*numbers)[2],
                          numbers->size() > 3 ? (*numbers)[3] : 0,
                          numbers->size() > 4 ? (*numbers)[4] : 0,
                          numbers->size() > 5 ? (*numbers)[5] : 0};
    using namespace std::chrono;
    const year_month_day day{year{field[2]}, month{static_cast<unsigned>(field[1])},
                             std::chrono::day{static_cast<unsigned>(field[0])}};
    if (!day.ok() || field[3] < 0 || field[3] > 23 || field[4] < 0 || field[4] > 59 || field[5] < 0 || field[5] > 59)
        return std::nullopt;
    const auto days = sys_days(day) - sys_days(year{1899} / December / 30);
    return static_cast<double>(days.count()) + (field[3] * 3600 + field[4] * 60 + field[5]) / kSecondsPerDay;
}

}  // namespace kiv
