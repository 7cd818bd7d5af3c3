#include "search/QueryParser.h"

#include <optional>
#include <string>
#include <vector>

#include "base/AsciiText.h"

namespace eng {

namespace {

bool standsAlone(char c) { return c == '(' || c == ')' || c == '"' || c == '\''; }

// The tokens of a query, each with the offset of its text, before noise words
// go and implied ANDs come.
struct QueryToken {
    TokenKind kind;
    std::string text;
    size_t offset;
};

TokenKind wordKind(const std::string &word, bool inPhrase) {
    if (inPhrase) return TokenKind::Operand;
    if (word == "and") return TokenKind::And;
    if (word == "or") return TokenKind::Or;
    if (word == "not") return TokenKind::Not;
    return TokenKind::Operand;
}

std::vector<QueryToken> splitQuery(std::string_view text, const WordSplitter &words) {
    std::vector<QueryToken> tokens;
    bool inPhrase = false;
    size_t at = 0;
    while (true) {
        while (at < text.size() && isAsciiWhite(text[at])) ++at;
        if (at == text.size()) return tokens;
        const size_t start = at++;
        const char c = text[start];
        if (c == '"' || c == '\'') {
            tokens.push_back({inPhrase ? TokenKind::CloseBracket : TokenKind::OpenBracket, {}, start});
            inPhrase = !inPhrase;
        } else if (c == '(' || c == ')') {
            if (!inPhrase) tokens.push_back({c == '(' ? TokenKind::Open : TokenKind::Close, {}, start});
        } else {
            while (at < text.size() && !isAsciiWhite(text[at]) && !standsAlone(text[at])) ++at;
            std::string word = asciiLowered(text.substr(start, at - start));
            const TokenKind kind = wordKind(word, inPhrase);
            if (kind != TokenKind::Operand) {
                tokens.push_back({kind, {}, start});
            } else if (isWordPattern(word)) {
                tokens.push_back({kind, std::move(word), start});
            } else if (!words.isNoiseWord(word)) {
                tokens.push_back({kind, WordSplitter::indexedForm(word), start});
            }
        }
    }
}

bool endsOperand(TokenKind kind) { return kind == TokenKind::Operand || kind == TokenKind::CloseBracket; }
bool beginsOperand(TokenKind kind) { return kind == TokenKind::Operand || kind == TokenKind::OpenBracket; }

// Puts an AND between two words, a word and a phrase, or two phrases in a row.
std::vector<QueryToken> withImpliedAnds(std::vector<QueryToken> tokens) {
    std::vector<QueryToken> joined;
    for (QueryToken &token : tokens) {
        if (!joined.empty() && endsOperand(joined.back().kind) && beginsOperand(token.kind))
            joined.push_back({TokenKind::And, {}, token.offset});
        joined.push_back(std::move(token));
    }
    return joined;
}

// The offset of the first token past the bounds, if any.
std::optional<size_t> beyondBounds(const std::vector<QueryToken> &tokens) {
    size_t words = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == TokenKind::Operand) ++words;
        if (words > kMaxQueryWords || i >= kMaxQueryTokens) return tokens[i].offset;
    }
    return std::nullopt;
}

}  // namespace

bool isWordPattern(std::string_view word) { return word.find_first_of("*?[]!#") != std::string_view::npos; }

ParsedQuery parseSearchQuery(std::string_view text, const WordSplitter &words) {
    const std::vector<QueryToken> tokens = withImpliedAnds(splitQuery(text, words));
    if (const auto offset = beyondBounds(tokens)) return {nullptr, kExprTooLong, *offset};
    std::vector<ExprToken> parts;
    parts.reserve(tokens.size());
    for (const QueryToken &token : tokens) parts.push_back({token.kind, token.text});
    ParsedExpr parsed = parseExpression(parts);
    const size_t position = tokens.empty() ? 0 : tokens[parsed.errorToken].offset;
    return {std::move(parsed.tree), parsed.error, parsed.error ? position : 0};
}

}  // namespace eng
