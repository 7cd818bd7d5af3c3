#include "search/QueryCondition.h"

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

class ConditionWriter {
public:
    ConditionWriter(std::string_view table, SqlParameters &parameters)
        : table_("\"" + std::string(table) + "\""), parameters_(parameters) {}

    std::string condition(const ExprNode &node) {
        switch (node.kind) {
            case ExprNode::Kind::Operand:
                return "UrlRes.ResId IN (SELECT ResId FROM " + table_ + " WHERE " +
                       wordTest("Word", node.text, parameters_) + ")";
            case ExprNode::Kind::Not:
                return "NOT (" + condition(*node.left) + ")";
            case ExprNode::Kind::And:
                return "(" + condition(*node.left) + " AND " + condition(*node.right) + ")";
            case ExprNode::Kind::Or:
                return "(" + condition(*node.left) + " OR " + condition(*node.right) + ")";
            case ExprNode::Kind::Group:
                return condition(*node.left);
            case ExprNode::Kind::Phrase:
                return phrase(*node.left);
        }
        return {};
    }

private:
    // The first word's rows, each joined to the next word's row of the same
    // body one position further on.
    std::string phrase(const ExprNode &inside) {
        std::vector<std::string> words;
        collectWords(inside, words);
        std::string sql = "UrlRes.ResId IN (SELECT w0.ResId FROM " + table_ + " AS w0";
        for (size_t i = 1; i < words.size(); ++i) {
            const std::string at = "w" + std::to_string(i), before = "w" + std::to_string(i - 1);
            sql += " JOIN " + table_ + " AS " + at + " ON " + wordTest(at + ".Word", words[i], parameters_) + " AND " +
                   at + ".ResId = " + before + ".ResId AND " + at + ".Pos = " + before + ".Pos + 1";
        }
        return sql + " WHERE " + wordTest("w0.Word", words[0], parameters_) + ")";
    }

    std::string table_;
    SqlParameters &parameters_;
};

}  // namespace

std::string queryCondition(const ExprNode &tree, std::string_view table, SqlParameters &parameters) {
    return ConditionWriter(table, parameters).condition(tree);
}

}  // namespace eng
