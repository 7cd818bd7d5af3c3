#include "StatusTexts.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace status_texts {
namespace {

struct Row {
    int code;
    std::string_view phrase;
};

// Sorted by code, for the binary search below.
constexpr std::array kRows{
    Row{100, "Continue"},
    Row{101, "Switching Protocols"},
    Row{102, "Processing [WEBDAV]"},
    Row{200, "OK"},
    Row{201, "Created"},
    Row{202, "Accepted"},
    Row{203, "Non-Authoritative Information"},
    Row{204, "No Content"},
    Row{205, "Reset Content"},
    Row{206, "Partial Content"},
    Row{207, "MultiStatus [WEBDAV]"},
    Row{300, "Multiple Choices"},
    Row{301, "Moved Permanently"},
    Row{302, "Moved Temporarily"},
    Row{303, "See Other"},
    Row{304, "Not Modified"},
    Row{305, "Use Proxy"},
    Row{307, "Temporary Redirect [HTTP1.1]"},
    Row{400, "Bad Request"},
    Row{401, "Unauthorized"},
    Row{402, "Payment Required"},
    Row{403, "Forbidden"},
    Row{404, "Not Found"},
    Row{405, "Method Not Allowed"},
    Row{406, "None Acceptable"},
    Row{407, "Proxy Authentication Required"},
    Row{408, "Request Timeout"},
    Row{409, "Conflict"},
    Row{410, "Gone"},
    Row{411, "Length Required"},
    Row{412, "Unless True"},
    Row{413, "Request Entity Too Large [HTTP]"},
    Row{414, "Request-URI too long"},
    Row{415, "Unsupported Media Type [HTTP]"},
    Row{416, "Requested Range Not Satisfiable [HTTP1.1]"},
    Row{417, "Expectation Failed [HTTP1.1]"},
    Row{422, "Unprocessable Entity [WEBDAV]"},
    Row{423, "Locked [WEBDAV]"},
    Row{424, "Method Failure [WEBDAV]"},
    Row{425, "Insufficient Space on Resource"},
    Row{499, "Connection aborted by user"},
    Row{500, "Internal Server Error"},
    Row{501, "Not Implemented"},
    Row{502, "Bad Gateway"},
    Row{503, "Service Unavailable"},
    Row{504, "Gateway Timeout"},
    Row{505, "HTTP Version not supported"},
    Row{507, "Insufficient Storage"},
};

static_assert(std::is_sorted(kRows.begin(), kRows.end(), [](const Row &a, const Row &b) { return a.code < b.code; }));

}  // namespace

QString phrase(int code) {
    const auto row =
        std::lower_bound(kRows.begin(), kRows.end(), code, [](const Row &r, int wanted) { return r.code < wanted; });
    if (row == kRows.end() || row->code != code) return {};
    return QString::fromLatin1(row->phrase.data(), static_cast<qsizetype>(row->phrase.size()));
}

QString resultText(const QString &result, bool failed, int code) {
    if (!failed || result != QStringLiteral("Ok.")) return result;
    const QString text = phrase(code);
    return text.isEmpty() ? QStringLiteral("HTTP Error code:") + QString::number(code) : text;
}

}  // namespace status_texts
