#pragma once

#include <curl/curl.h>

#include <cstdint>

namespace eng {

// The Internet library error number that stands for a transfer's result
// (0 for success).
uint32_t internetErrorOf(CURLcode code);

}  // namespace eng
