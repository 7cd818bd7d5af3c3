#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/Utf8Recoding.h"

using eng::CharsetIndex;

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";
const std::string kAlphabet = "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюя";

// Number of code points when text is strict UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF); -1 when it is not.
int utf8CodePoints(const std::string &text) {
    int count = 0;
    for (size_t i = 0; i < text.size(); ++count) {
        const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
        const uint8_t lead = byte(i);
        size_t length = 0;
        uint32_t minimum = 0;
        uint32_t code = 0;
        if (lead < 0x80) {
            length = 1, code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, minimum = 0x80, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, minimum = 0x800, code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, minimum = 0x10000, code = lead & 0x07;
        } else {
            return -1;
        }
        if (i + length > text.size()) return -1;
        for (size_t k = i + 1; k < i + length; ++k) {
            if ((byte(k) & 0xC0) != 0x80) return -1;
            code = (code << 6) | (byte(k) & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return -1;
        i += length;
    }
    return count;
}

std::string page(const std::string &metaContent, const std::string &body) {
    return "<head><meta http-equiv=\"Content-Type\" content=\"" + metaContent + "\"></head>" + body;
}

}  // namespace

TEST(RecodingToUtf8, CyrillicLetterTables) {
    struct Row {
        CharsetIndex charset;
        std::string letters;  // the 33 capitals then the 33 small letters, in the charset
    };
    const std::vector<Row> rows = {
        {CharsetIndex::Koi8R,
         "\xE1\xE2\xF7\xE7\xE4\xE5\xB3\xF6\xFA\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF2\xF3\xF4\xF5\xE6\xE8\xE3\xFE\xFB\xFD"
         "\xFF\xF9\xF8\xFC\xE0\xF1\xC1\xC2\xD7\xC7\xC4\xC5\xA3\xD6\xDA\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD2\xD3\xD4\xD5"
         "\xC6\xC8\xC3\xDE\xDB\xDD\xDF\xD9\xD8\xDC\xC0\xD1"},
        {CharsetIndex::Windows1251,
         "\xC0\xC1\xC2\xC3\xC4\xC5\xA8\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD7\xD8\xD9"
         "\xDA\xDB\xDC\xDD\xDE\xDF\xE0\xE1\xE2\xE3\xE4\xE5\xB8\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3"
         "\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF"},
        {CharsetIndex::Cp866,
         "\x80\x81\x82\x83\x84\x85\xF0\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99"
         "\x9A\x9B\x9C\x9D\x9E\x9F\xA0\xA1\xA2\xA3\xA4\xA5\xF1\xA6\xA7\xA8\xA9\xAA\xAB\xAC\xAD\xAE\xAF\xE0\xE1\xE2\xE3"
         "\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"},
        {CharsetIndex::Iso8859_5,
         "\xB0\xB1\xB2\xB3\xB4\xB5\xA1\xB6\xB7\xB8\xB9\xBA\xBB\xBC\xBD\xBE\xBF\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9"
         "\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5\xF1\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xE0\xE1\xE2\xE3"
         "\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"},
        {CharsetIndex::MacCyrillic,
         "\x80\x81\x82\x83\x84\x85\xDD\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99"
         "\x9A\x9B\x9C\x9D\x9E\x9F\xE0\xE1\xE2\xE3\xE4\xE5\xDE\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3"
         "\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xDF"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(static_cast<int>(row.charset));
        ASSERT_EQ(row.letters.size(), 66u);
        EXPECT_EQ(eng::toUtf8(row.letters, row.charset), kAlphabet);
    }
}

TEST(RecodingToUtf8, SameLetterFromEitherCharsetOfAPair) {
    struct Row {
        std::string a;
        CharsetIndex charsetA;
        std::string b;
        CharsetIndex charsetB;
        std::string letters;
    };
    const std::vector<Row> rows = {
        {"\xE1", CharsetIndex::Koi8R, "\xC0", CharsetIndex::Windows1251, "А"},
        {"\xA5\xB9\xC0", CharsetIndex::Windows1250, "\xA1\xB1\xC0", CharsetIndex::Iso8859_2, "ĄąŔ"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.letters);
        EXPECT_EQ(eng::toUtf8(row.a, row.charsetA), row.letters);
        EXPECT_EQ(eng::toUtf8(row.b, row.charsetB), row.letters);
    }
}

TEST(RecodingToUtf8, UndefinedAndMalformedBytesBecomeReplacements) {
    struct Row {
        std::string text;
        CharsetIndex charset;
        std::string utf8;
    };
    const std::string r = kReplacement;
    const std::vector<Row> rows = {
        {"a\x98z", CharsetIndex::Windows1251, "a" + r + "z"},
        {"\x81\x83", CharsetIndex::Windows1250, r + r},
        {std::string("a\0b", 3), CharsetIndex::Koi8R, std::string("a\0b", 3)},
        {"Привет", CharsetIndex::Unknown, "Привет"},
        {"a\xC0\xAFz", CharsetIndex::Unknown, "a" + r + r + "z"},          // overlong "/"
        {"a\xED\xA0\x80z", CharsetIndex::Unknown, "a" + r + r + r + "z"},  // surrogate
        {"\xF4\x90\x80\x80", CharsetIndex::Unknown, r + r + r + r},        // above U+10FFFF
        {"\x80\xFF", CharsetIndex::Unknown, r + r},
        {"ok\xE2\x82", CharsetIndex::Unknown, "ok" + r + r},  // cut short at the end
        {"\xE2\x82"
         "a€",
         CharsetIndex::Unknown, r + r + "a€"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(eng::toUtf8(row.text, row.charset), row.utf8);
    }
}

TEST(RecodingToUtf8, RandomBytesAlwaysGiveValidUtf8) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 400);
    for (int charset = 0; charset <= static_cast<int>(CharsetIndex::Unknown); ++charset) {
        SCOPED_TRACE(charset);
        const auto from = static_cast<CharsetIndex>(charset);
        for (int round = 0; round < 200; ++round) {
            std::string text(length(random), '\0');
            for (char &c : text) c = static_cast<char>(byte(random));
            const int codePoints = utf8CodePoints(eng::toUtf8(text, from));
            ASSERT_GE(codePoints, 0) << "round " << round;
            // A single-byte charset gives one character per byte, replacements included.
            if (from != CharsetIndex::Unknown) {
                ASSERT_EQ(codePoints, static_cast<int>(text.size()));
            }
        }
    }
}

TEST(RecodingToUtf8, LongTextHasNoSizeLimit) {
    const std::string text(3'000'000, '\xC1');  // KOI8-R small a
    const std::string utf8 = eng::toUtf8(text, CharsetIndex::Koi8R);
    ASSERT_EQ(utf8.size(), 6'000'000u);
    EXPECT_EQ(utf8.substr(utf8.size() - 4), "аа");
}

TEST(RecodingPages, HeaderThenMetaThenUtf8) {
    struct Row {
        std::string name;
        std::string contentType;
        std::string page;
        std::string utf8;
    };
    const std::string r = kReplacement;
    const std::vector<Row> rows = {
        {"header wins over the META", "text/html; charset=koi8-r", page("text/html; charset=windows-1251", "\xE1"),
         page("text/html; charset=windows-1251", "А")},
        {"META without a charset", "text/html; charset=koi8-r", page("text/html", "\xE1"), page("text/html", "А")},
        {"windows-1251 page", "text/html; charset=windows-1251", "<p>\xCF\xF0\xE8\xE2\xE5\xF2</p>", "<p>Привет</p>"},
        {"META when the header names none", "text/html", page("text/html; charset=cp866", "\x8F\xE0\xA8"),
         page("text/html; charset=cp866", "При")},
        {"META names ISO-8859-1 in capitals", "text/html", page("text/html; charset=ISO-8859-1", "caf\xE9"),
         page("text/html; charset=ISO-8859-1", "café")},
        {"META names Windows-1251 in capitals", "text/html", page("text/html; charset=Windows-1251", "\xC0"),
         page("text/html; charset=Windows-1251", r)},
        {"META charset with more parameters", "text/html", page("text/html; charset=koi8-r; x=y", "\xE1"),
         page("text/html; charset=koi8-r; x=y", r)},
        {"unknown header charset still wins", "text/html; charset=utf-8", page("text/html; charset=koi8-r", "А"),
         page("text/html; charset=koi8-r", "А")},
        {"no charset at all", "text/html", "<p>Привет \xFF</p>", "<p>Привет " + r + "</p>"},
        {"no content type", "", "<p>\xE1</p>", "<p>" + r + "</p>"},
        {"UTF-8 byte order mark", "text/html; charset=koi8-r", "\xEF\xBB\xBF<p>Привет</p>", "<p>Привет</p>"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(eng::pageToUtf8(row.contentType, row.page), row.utf8);
    }
}

TEST(RecodingFromUtf8, CharactersTheCharsetLacksBecomeNumericReferences) {
    EXPECT_EQ(eng::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC\xE6\x97\xA5", "ISO-8859-1"), "caf\xE9 &#8364;&#26085;");
    EXPECT_EQ(eng::fromUtf8("\xD1\x84", "CP1251"), "\xF4");
    EXPECT_EQ(eng::fromUtf8("\xD1\x84\xFF", ""), "\xD1\x84\xEF\xBF\xBD");  // UTF-8 stays, made valid
    EXPECT_EQ(eng::toUtf8("\x93\xfa\x96\x7b", std::string_view("SHIFT_JIS")), "\xE6\x97\xA5\xE6\x9C\xAC");
}
