#include "search/BodyText.h"

#include <array>

#include "base/AsciiSearch.h"
#include "base/CharacterReferences.h"
#include "base/Utf8Recoding.h"

namespace eng {

namespace {

struct DroppedBlock {
    std::string_view opening;
    std::string_view closing;
};
constexpr std::array kDroppedBlocks{DroppedBlock{"<script", "</script"}, DroppedBlock{"<style", "</style"}};

// Where the text goes on after the tag that starts at `at`.
size_t afterTag(std::string_view html, size_t at, std::string &out) {
    size_t end = html.find('>', at);
    if (end == std::string_view::npos) return html.size();
    size_t next = end + 1;
    if (next < html.size() && !isAsciiWhite(html[next]) && html[next] != '<') out += ' ';
    return next;
}

// Where the text goes on after the markup that starts at `at` (a "<").
size_t afterMarkup(std::string_view html, size_t at, std::string &out) {
    for (const DroppedBlock &block : kDroppedBlocks) {
        if (!startsWithNoCase(html.substr(at), block.opening)) continue;
        // The closing tag is then dropped as any other tag is, so that the
        // words on either side of the block stay apart.
        size_t closing = findNoCase(html, block.closing, at + block.opening.size());
        return closing == std::string_view::npos ? html.size() : closing;
    }
    return afterTag(html, at, out);
}

}  // namespace

std::string markupToText(std::string_view html) {
    std::string text;
    text.reserve(html.size());
    for (size_t at = 0; at < html.size();) {
        if (html[at] == '<') {
            at = afterMarkup(html, at, text);
        } else {
            text += html[at++];
        }
    }
    return decodeCharacterReferences(text);
}

std::string bodyText(std::string_view contentType, std::string_view body) {
    return markupToText(pageToUtf8(contentType, body));
}

}  // namespace eng
