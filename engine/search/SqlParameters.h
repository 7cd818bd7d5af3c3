#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace eng {

using SqlValue = std::variant<int64_t, double, std::string>;

// The values of a statement's parameters, written ?1, ?2, … in the order in
// which they were added, so that a statement may be put together in any
// order without a value ever becoming part of its text.
class SqlParameters {
public:
    // Adds a value and returns the placeholder that stands for it.
    std::string add(SqlValue value) {
        values_.push_back(std::move(value));
        return "?" + std::to_string(values_.size());
    }
    const std::vector<SqlValue> &values() const { return values_; }

private:
    std::vector<SqlValue> values_;
};

}  // namespace eng
