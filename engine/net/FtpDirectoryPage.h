#pragma once

#include <string>
#include <string_view>

namespace eng {

// The HTML index of an FTP directory: one link per name of the server's name
// list (one name per line), relative to the directory's address, which the
// page names as its base so that the crawl can follow the entries.
std::string ftpDirectoryPage(std::string_view directoryUrl, std::string_view nameList);

}  // namespace eng
