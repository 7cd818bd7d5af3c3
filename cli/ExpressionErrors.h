#pragma once

#include <cstdint>
#include <string>

namespace lark {

// What an error code of Eng_ValidateQuery means, as the program words it.
std::string expressionErrorText(int32_t code);

}  // namespace lark
