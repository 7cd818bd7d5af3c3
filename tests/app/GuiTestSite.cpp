#include "GuiTestSite.h"

#include <fstream>

#include <QColor>
#include <QImage>
#include <QString>

namespace gui_test {

void writeFile(const std::filesystem::path &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

void writeSite(const std::filesystem::path &root) {
    writeFile(root / "index.html",
              "<html><head><title>Test site</title></head><body><h1>Welcome to the test site</h1>"
              "<img id=\"logo\" src=\"images/logo.png\" width=\"64\" height=\"64\">"
              "<p><a id=\"next\" href=\"page2.html\">The second page</a> <a href=\"evil.html\">scripts</a>"
              " <a href=\"leaving.html\">leaving</a> <a href=\"http://127.0.0.1:1/unreachable.html\">down</a></p>"
              "</body></html>");
    writeFile(root / "page2.html",
              "<html><head><title>Second</title></head><body><p>This is the second page.</p>"
              "<a href=\"index.html\">back</a> <a href=\"files/data.bin\">data</a> <a href=\"styled.html\">styled</a>"
              "</body></html>");
    // A page whose images come from a style sheet, a srcset and an icon link,
    // all written relative to the page or the sheet.
    writeFile(root / "styled.html",
              "<html><head><title>Styled</title><link rel=\"icon\" href=\"images/icon.png\">"
              "<link rel=\"stylesheet\" href=\"css/styled.css\"></head><body>"
              "<div id=\"box\" class=\"boxed\">boxed</div>"
              "<img id=\"chosen\" srcset=\"images/wide.png 1x, images/huge.png 2x\" alt=\"\"></body></html>");
    std::filesystem::create_directories(root / "css");
    writeFile(root / "css" / "styled.css",
              ".boxed { width: 64px; height: 64px; background-image: url(\"../images/tile.png\") }\n");
    std::filesystem::create_directories(root / "files");
    writeFile(root / "files" / "data.bin", std::string(5000, '\x7f') + "end");
    // A downloaded page that tries the program's scripting object.
    writeFile(root / "evil.html",
              "<html><head><title>evil</title><script>"
              "function tryIt() { if (!window.external || !window.external.DeleteItem) return setTimeout(tryIt, 50);"
              " for (var id = 1; id < 40; ++id) window.external.DeleteItem(id);"
              " document.title = 'tried ' + window.external.id; }"
              "window.onload = tryIt;</script></head><body>evil page</body></html>");
    // One that leaves for a page the program answers itself (the server that is
    // down gets a status page) and calls while it still shows.
    writeFile(root / "leaving.html",
              "<html><head><title>leaving</title><script>"
              "function leave() { if (!window.external || !window.external.DeleteItem) return setTimeout(leave, 50);"
              " setInterval(function () { for (var id = 1; id < 40; ++id) window.external.DeleteItem(id); }, 1);"
              " location.href = 'kiv:0:01-01-2026-00-00-00:0:http://127.0.0.1:1/unreachable.html'; }"
              "window.onload = leave;</script></head><body>leaving</body></html>");
    std::filesystem::create_directories(root / "images");
    const auto image = [&](const char *name, int side, QColor color) {
        QImage square(side, side, QImage::Format_RGB32);
        square.fill(color);
        square.save(QString::fromStdString((root / "images" / name).string()), "PNG");
    };
    image("logo.png", 64, QColor(30, 120, 200));
    image("tile.png", 16, QColor(200, 60, 30));
    image("wide.png", 48, QColor(30, 160, 60));
    image("huge.png", 96, QColor(120, 30, 160));
    image("icon.png", 24, QColor(220, 200, 40));
}

}  // namespace gui_test
