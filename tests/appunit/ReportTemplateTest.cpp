// The report pages' templates: tags with parameters are replaced, unknown
// tags get the page's own filler, and the escaping that values get.

#include "exports/ReportTemplate.h"

#include <gtest/gtest.h>

TEST(ReportTemplateTest, ReplacesTagsWithTheirValuesAndUnknownTagsWithTheFiller) {
    const report::TagValues values{{"NAME", "a&amp;b"}, {"ID", "7"}};
    EXPECT_EQ(report::fill("<p><#NAME> (<#ID>)<#NONE></p>", report::valuesOf(values), "&nbsp;"),
              "<p>a&amp;b (7)&nbsp;</p>");
    EXPECT_EQ(report::fill("<#NONE>x<#NONE >", report::valuesOf(values), ""), "x");
    EXPECT_EQ(report::fill("<# NAME> <b>", report::valuesOf(values), "?"), "<# NAME> <b>");
}

TEST(ReportTemplateTest, PassesParametersQuotedOrBare) {
    QStringList seen;
    const auto value = [&](const QString &name, const QStringList &parameters) -> std::optional<QString> {
        seen = parameters;
        return name;
    };
    EXPECT_EQ(report::fill("<option <#CL 14449 selected \"\">>", value, ""), "<option CL>");
    EXPECT_EQ(seen, QStringList({"14449", "selected", ""}));
    report::fill("<#T \"two words\" x>", value, "");
    EXPECT_EQ(seen, QStringList({"two words", "x"}));
}

TEST(ReportTemplateTest, EscapesMarkupAndBothQuotes) {
    EXPECT_EQ(report::escaped("<script>\"x\" & 'y'</script>"),
              "&lt;script&gt;&quot;x&quot; &amp; &#39;y&#39;&lt;/script&gt;");
}
