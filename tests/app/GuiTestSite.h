#pragma once

#include <filesystem>
#include <string>

namespace gui_test {

void writeFile(const std::filesystem::path &path, const std::string &text);

// The site the GUI tests browse, written into the folder nginx serves:
// /index.html (title "Test site") with an image (/images/logo.png, 64 by 64)
// and links to /page2.html (title "Second", linking /files/data.bin, 5003
// bytes that no browser shows), /evil.html and /leaving.html (pages whose
// scripts try the program's scripting object) and a server that is down
// (http://127.0.0.1:1/unreachable.html).
void writeSite(const std::filesystem::path &root);

}  // namespace gui_test
