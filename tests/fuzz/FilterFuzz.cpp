// Fuzz target: any bytes as a filter text, an expression and an address.
// The filter parser, the expression compiler, evaluation, size limits and
// the test report must neither crash nor read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "filters/Filter.h"
#include "filters/FilterExpression.h"
#include "filters/FilterTestReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    // The first line is the address, the rest the filter text.
    const size_t newline = input.find('\n');
    const std::string_view url = input.substr(0, newline);
    const std::string_view text = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

    eng::Filter filter;
    filter.parse(text);
    filter.compile();
    for (uint32_t kind = 0; kind < 18; ++kind) {
        filter.accept(url, kind);
        filter.sizeLimits(url, kind);
    }
    eng::compileFilterExpression(text);
    eng::filterTestReport(filter, url, static_cast<uint32_t>(size % 20));
    return 0;
}
