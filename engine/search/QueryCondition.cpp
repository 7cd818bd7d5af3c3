#include "search/QueryCondition.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "search/GlobPattern.h"
#include "search/QueryParser.h"

namespace eng {

namespace {

// The comparison of one word column with a query word.
std::string wordTest(const std::string &column, const std::string &word, SqlParameters &parameters) {
    if (isWordPattern(word)) return column + " GLOB " + parameters.add(globPattern(word));
    return column + " = " + parameters.add(word);
}

// The words of a phrase in order (inside a phrase there are only words joined by AND).
void collectWords(const ExprNode &node, std::vector<std::string> &words) {
    if (node.kind == ExprNode::Kind::Operand) {
        words.push_back(node.text);
        return;
    }
    if (node.left) collectWords(*node.left, words);
    if (node.right) collectWords(*node.right, words);
}

// Whether the node holds a word or phrase that every body it selects
// contains: one whose rows can be the database's starting point.
bool canLead(const ExprNode &node) {
    switch (node.kind) {
        case ExprNode::Kind::Operand:
        case ExprNode::Kind::Phrase:
            return true;
        case ExprNode::Kind::Group:
            return canLead(*node.left);
        case ExprNode::Kind::And:
            return canLead(*node.left) || canLead(*node.right);
        case ExprNode::Kind::Or:
            return canLead(*node.left) && canLead(*node.right);
        case ExprNode::Kind::Not:
            return false;
    }
    return false;
}

constexpr int64_t kCannotLead = std::numeric_limits<int64_t>::max();

// Writes each word or phrase in one of two forms of the same meaning: the
// list of the bodies that hold it, which the database can start from (one
// word of the query "leads"), or a lookup of the resource's own body among
// its rows, which costs little per resource whatever the word's frequency.
// Of two sides of an AND that could lead, the one with fewer rows does, so
// that the search walks the rows of its rarest word. Patterns are always
// lists: a lookup could not seek by their words.
class ConditionWriter {
public:
    ConditionWriter(WordRows &rows, SqlParameters &parameters)
        : table_("\"" + rows.table() + "\""), parameters_(parameters), rows_(rows) {}

    std::string condition(const ExprNode &node, bool leads) {
        switch (node.kind) {
            case ExprNode::Kind::Operand:
                return rowsOf({node.text}, leads);
            case ExprNode::Kind::Phrase: {
                std::vector<std::string> words;
                collectWords(*node.left, words);
                return rowsOf(words, leads);
            }
            case ExprNode::Kind::Not:
                return "NOT (" + condition(*node.left, false) + ")";
            case ExprNode::Kind::And: {
                const bool leftLeads =
                    leads && canLead(*node.left) && rowsToWalk(*node.left) <= rowsToWalk(*node.right);
                return "(" + condition(*node.left, leftLeads) + " AND " + condition(*node.right, leads && !leftLeads) +
                       ")";
            }
            case ExprNode::Kind::Or:
                return "(" + condition(*node.left, leads) + " OR " + condition(*node.right, leads) + ")";
            case ExprNode::Kind::Group:
                return condition(*node.left, leads);
        }
        return {};
    }

private:
    // About how many rows a node's list of bodies starts from: a phrase's
    // rarest word bounds it, an AND's cheaper side, an OR both sides.
    int64_t rowsToWalk(const ExprNode &node) {
        if (!canLead(node)) return kCannotLead;
        switch (node.kind) {
            case ExprNode::Kind::Operand:
                return rows_.of(node.text);
            case ExprNode::Kind::Phrase: {
                std::vector<std::string> words;
                collectWords(*node.left, words);
                int64_t fewest = kCannotLead;
                for (const std::string &word : words) fewest = std::min(fewest, rows_.of(word));
                return fewest;
            }
            case ExprNode::Kind::Group:
                return rowsToWalk(*node.left);
            case ExprNode::Kind::And:
                return std::min(rowsToWalk(*node.left), rowsToWalk(*node.right));
            case ExprNode::Kind::Or:
                return rowsToWalk(*node.left) + rowsToWalk(*node.right);
            case ExprNode::Kind::Not:
                break;
        }
        return kCannotLead;
    }

    // The rows of the first word, each joined to the next word's row of the
    // same body one position further on.
    std::string rowsOf(const std::vector<std::string> &words, bool leads) {
        std::string from = " FROM " + table_ + " AS w0";
        for (size_t i = 1; i < words.size(); ++i) {
            const std::string at = "w" + std::to_string(i), before = "w" + std::to_string(i - 1);
            from += " JOIN " + table_ + " AS " + at + " ON " + wordTest(at + ".Word", words[i], parameters_) + " AND " +
                    at + ".ResId = " + before + ".ResId AND " + at + ".Pos = " + before + ".Pos + 1";
        }
        from += " WHERE " + wordTest("w0.Word", words[0], parameters_);
        if (leads || std::any_of(words.begin(), words.end(), isWordPattern))
            return "UrlRes.ResId IN (SELECT w0.ResId" + from + ")";
        return "EXISTS (SELECT 1" + from + " AND w0.ResId = UrlRes.ResId)";
    }

    std::string table_;
    SqlParameters &parameters_;
    WordRows &rows_;
};

}  // namespace

std::string queryCondition(const ExprNode &tree, WordRows &rows, SqlParameters &parameters) {
    return ConditionWriter(rows, parameters).condition(tree, true);
}

}  // namespace eng
