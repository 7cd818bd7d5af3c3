#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kiv {

// What the engine reports instead of a page.
enum class StatusKind : int32_t {
    InvalidUrl = 1,
    TooManyRedirects = 2,
    NoConnection = 3,
    Queued = 4,
    NotAccepted = 5,
    EmptyPage = 6,
    NotAvailableOffline = 7,
    ServerUnreachable = 8,
};

// The HTML page shown in place of a document that the engine answered with a
// status: a title, an explanation and suggestions, some of which call the
// application through the page's scripting object. The queued page names the
// URL resource to remove; the not-accepted page names the requested address,
// HTML-escaped, so that an address carrying markup stays text. An unknown
// kind gives a page that says "Unknown error".
std::string statusPage(int32_t kind, uint32_t urlResId, std::string_view address);

}  // namespace kiv
