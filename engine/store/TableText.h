#pragma once

#include <string>
#include <string_view>

namespace eng {

// A name quoted for SQL ("Index", "Items.TaskLevel").
std::string sqlName(std::string_view name);

}  // namespace eng
