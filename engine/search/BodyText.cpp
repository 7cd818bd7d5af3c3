#include "search/BodyText.h"

#include <array>

#include "base/CharacterReferences.h"
#include "base/Utf8Recoding.h"

namespace eng {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithIgnoringCase(std::string_view text, size_t at, std::string_view lowercaseWord) {
    if (text.size() - at < lowercaseWord.size()) return false;
    for (size_t i = 0; i < lowercaseWord.size(); ++i)
        if (lower(text[at + i]) != lowercaseWord[i]) return false;
    return true;
}

size_t findIgnoringCase(std::string_view text, size_t from, std::string_view lowercaseWord) {
    for (size_t at = from; at < text.size(); ++at)
        if (startsWithIgnoringCase(text, at, lowercaseWord)) return at;
    return std::string_view::npos;
}

bool isWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

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
    if (next < html.size() && !isWhiteSpace(html[next]) && html[next] != '<') out += ' ';
    return next;
}

// Where the text goes on after the markup that starts at `at` (a "<").
size_t afterMarkup(std::string_view html, size_t at, std::string &out) {
    for (const DroppedBlock &block : kDroppedBlocks) {
        if (!startsWithIgnoringCase(html, at, block.opening)) continue;
        // The closing tag is then dropped as any other tag is, so that the
        // words on either side of the block stay apart.
        size_t closing = findIgnoringCase(html, at + block.opening.size(), block.closing);
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
