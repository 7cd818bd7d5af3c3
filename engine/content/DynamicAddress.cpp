#include "content/DynamicAddress.h"

#include <algorithm>
#include <optional>

#include "base/AsciiText.h"
#include "base/Url.h"
#include "content/LocalFileNames.h"
#include "content/MimeType.h"

namespace eng {

bool isDynamicAddress(std::string_view url) {
    const std::optional<url::Parts> parts = url::split(url);
    if (!parts) return false;
    const std::string_view query = std::string_view(parts->extra).substr(0, parts->extra.find('#'));
    const auto digits = std::count_if(parts->path.begin(), parts->path.end(), isAsciiDigit) +
                        std::count_if(query.begin(), query.end(), isAsciiDigit);
    return digits > 7 && !isImageExtension(extensionOfUrl(url).text);
}

}  // namespace eng
