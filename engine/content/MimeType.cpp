#include "content/MimeType.h"

#include <algorithm>
#include <utility>

#include "base/AsciiText.h"

namespace eng {

namespace {

constexpr std::pair<std::string_view, std::string_view> kMimeTypes[] = {
    {"htm", "text/html"},
    {"html", "text/html"},
    {"shtml", "text/html"},
    {"jpg", "image/jpeg"},
    {"jpeg", "image/jpeg"},
    {"jpe", "image/jpeg"},
    {"png", "image/png"},
    {"gif", "image/gif"},
    {"dib", "image/dib"},
    {"xbm", "image/xbm"},
    {"htt", "text/webviewhtml"},
    {"avi", "video/avi"},
    {"mpeg", "video/mpeg"},
    {"cdf", "application/cdf"},
    {"mdb", "application/msaccess"},
    {"doc", "application/msword"},
    {"xls", "application/x-msexcel"},
    {"swf", "application/x-shockwave-flash"},
    {"zip", "application/x-zip-compressed"},
    {"au", "audio/basic"},
    {"pc", "application/postscript"},
    {"gz", "application/x-gzip"},
    {"bmp", "image/bmp"},
    {"tif", "image/tiff"},
    {"txt", "text/plain"},
    {"wav", "audio/wav"},
    {"mp3", "audio/mpeg"},
    {"js", "application/x-javascript"},
    {"vbs", "application/x-vbscript"},
    {"rtf", "application/rtf"},
    {"css", "text/css"},
    {"pdf", "application/pdf"},
    {"class", "text/plain"},
    {"exe", "application/octet-stream"},
};

constexpr std::string_view kImageExtensions[] = {"gif", "jpg", "jpeg", "bmp", "dib", "jpe", "png", "tif"};

}  // namespace

std::string_view mimeTypeOfExtension(std::string_view extension) {
    if (extension.empty()) return "n/a";
    for (const auto &[known, mimeType] : kMimeTypes)
        if (equalsNoCase(extension, known)) return mimeType;
    return "application/binary";
}

bool isImageExtension(std::string_view extension) {
    return std::any_of(std::begin(kImageExtensions), std::end(kImageExtensions),
                       [&](std::string_view image) { return equalsNoCase(extension, image); });
}

}  // namespace eng
