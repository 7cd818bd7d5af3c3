#include "content/ResourceType.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/MimeType.h"

using eng::ResType;

TEST(ResourceType, SniffsTheFirstBytes) {
    struct Row {
        std::string body;
        std::string contentType;
        ResType expected;
    };
    const std::vector<Row> rows = {
        {"", "text/html", ResType::Other},
        {"   \r\n", "text/plain", ResType::Other},
        {"\xFF\xD8\xFF\xE0", "", ResType::Jpeg},
        {"  \xFF\xD8", "", ResType::Jpeg},
        {"BM\x36\x00", "", ResType::Bmp},
        {"bm", "", ResType::Bmp},
        {"<html", "text/html", ResType::Other},
        {"<p>\x01\x02\x03", "", ResType::Html},
        {"  \r\n<p>hello", "", ResType::Html},
        {"Hello <HTML> world", "", ResType::Html},
        {std::string(506, 'x') + "<html>", "", ResType::Html},
        {std::string(507, 'x') + "<html>", "text/html", ResType::Other},
        {"GIF89a\x01\x00", "", ResType::Gif},
        {"gif87a....", "text/plain", ResType::Gif},
        {"GIF8xa....", "", ResType::Other},
        {"Just some text\r\n\tmore", "text/plain", ResType::PlainText},
        {"caf\xC3\xA9 au lait", "text/plain", ResType::PlainText},
        {"Just some text", "text/plain; charset=utf-8", ResType::Other},
        {"Just some text", "TEXT/PLAIN", ResType::Other},
        {"Form\ffeed text", "text/plain", ResType::Other},
        {std::string(254, 'a') + "\x01", "text/plain", ResType::Other},
        {std::string(255, 'a') + "\x01", "text/plain", ResType::PlainText},
        {"  " + std::string(254, 'a') + "\x01", "text/plain", ResType::Other},
        {"%PDF-1.4", "application/pdf", ResType::Other},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(eng::sniffResourceType(rows[i].body, rows[i].contentType), rows[i].expected);
    }
}

TEST(MimeType, ByExtensionInAnyCase) {
    struct Row {
        std::string extension;
        std::string mimeType;
    };
    const std::vector<Row> rows = {
        {"", "n/a"},
        {"htm", "text/html"},
        {"HTM", "text/html"},
        {"Shtml", "text/html"},
        {"JPE", "image/jpeg"},
        {"tif", "image/tiff"},
        {"tiff", "application/binary"},
        {"pc", "application/postscript"},
        {"class", "text/plain"},
        {"exe", "application/octet-stream"},
        {"xyz", "application/binary"},
        {"html5", "application/binary"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.extension);
        EXPECT_EQ(eng::mimeTypeOfExtension(row.extension), row.mimeType);
    }
}

TEST(MimeType, ImageExtensions) {
    for (const char *image : {"gif", "JPG", "jpeg", "bmp", "dib", "Jpe", "png", "TIF"})
        EXPECT_TRUE(eng::isImageExtension(image)) << image;
    for (const char *other : {"", "tiff", "svg", "gif2", "asp", "xbm"})
        EXPECT_FALSE(eng::isImageExtension(other)) << other;
}
