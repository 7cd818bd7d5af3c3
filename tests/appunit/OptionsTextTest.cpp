#include "options/OptionsText.h"

#include <gtest/gtest.h>

#include "options/OptionFields.h"

namespace {

std::string joined(const QStringList &lines) { return lines.join(u'\n').toStdString(); }

// An option set with every option away from its default, texts with quotes,
// line ends, tabs and letters beyond ASCII among them.
ProgramOptions everyOptionChanged() {
    ProgramOptions o;
    o.pingHosts = QStringLiteral("a.test\r\nb.test\r\n");
    o.viewStyle = 1;
    o.diskSize = ProgramOptions::kNoDiskLimit;
    o.maxConnections = 9;
    o.maxConnPerServ = 4;
    o.timeOut = 45;
    o.retries = 0;
    o.pauseBetwConn = 7;
    o.accessType = 3;
    o.httpProxy = QStringLiteral("proxy.test:8080:o'neil:p\tw");
    o.ftpProxy = QStringLiteral("ftp.test:21::");
    o.projectFolder = QStringLiteral("/home/zoë/Projects/");
    visitOptionFields(o, [](const char *, auto &&field) {
        if constexpr (std::is_same_v<std::remove_cvref_t<decltype(field)>, bool>) field = !field;
    });
    return o;
}

TEST(OptionsTextTest, TheDefaultsAreWrittenAsAnObjectTextInTheirOrder) {
    const QStringList lines = optionsText(ProgramOptions{});
    ASSERT_EQ(lines.size(), 32);
    EXPECT_EQ(lines.first(), QStringLiteral("object TProgramOptions"));
    EXPECT_EQ(lines[1], QStringLiteral("  PingHosts = ''"));
    EXPECT_EQ(lines[2], QStringLiteral("  EnablePing = False"));
    EXPECT_EQ(lines[3], QStringLiteral("  ShowToolBarLabels = True"));
    EXPECT_EQ(lines[8], QStringLiteral("  ViewStyle = vsReport"));
    EXPECT_EQ(lines[16], QStringLiteral("  DiskSize = 300"));
    EXPECT_EQ(lines[22], QStringLiteral("  TimeOut = 300"));
    EXPECT_EQ(lines[24], QStringLiteral("  PAuseBetwConn = 0"));
    EXPECT_EQ(lines[30], QStringLiteral("  ProjectFolder = ''"));
    EXPECT_EQ(lines.last(), QStringLiteral("end"));
}

TEST(OptionsTextTest, TextsKeepQuotesAndWriteControlCharactersOutsideThem) {
    ProgramOptions o;
    o.pingHosts = QStringLiteral("a.test\r\nit's\r\n");
    o.httpProxy = QStringLiteral("\tx");
    const QStringList lines = optionsText(o);
    EXPECT_EQ(lines[1], QStringLiteral("  PingHosts = 'a.test'#13#10'it''s'#13#10"));
    EXPECT_EQ(lines[26], QStringLiteral("  HttpProxy = #9'x'"));
}

TEST(OptionsTextTest, EveryOptionComesBackAsItWasWritten) {
    const ProgramOptions changed = everyOptionChanged();
    const QStringList lines = optionsText(changed);
    // Each option differs from its default, so each line is tried.
    const QStringList defaults = optionsText(ProgramOptions{});
    for (int k = 1; k + 1 < lines.size(); ++k) EXPECT_NE(lines[k], defaults[k]) << k;
    const auto read = readOptionsText(lines);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(joined(optionsText(*read)), joined(lines));
}

TEST(OptionsTextTest, AValueGoesOnOverLinesEndedWithAPlusAndMissingOptionsKeepTheirDefaults) {
    const auto read =
        readOptionsText({QStringLiteral("object TProgramOptions"), QStringLiteral("  PingHosts = 'first.test'#13#10 +"),
                         QStringLiteral("    'second.test'#13#10"), QStringLiteral("  Retries = 12"),
                         QStringLiteral("  Unknown = 'kept out'"), QStringLiteral("end")});
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->pingHosts, QStringLiteral("first.test\r\nsecond.test\r\n"));
    EXPECT_EQ(read->retries, 12);
    EXPECT_EQ(read->timeOut, 300);
    EXPECT_TRUE(read->showRefreshMessage);
}

TEST(OptionsTextTest, AnUnreadableTextIsRefusedAsAWhole) {
    const QString header = QStringLiteral("object TProgramOptions"), end = QStringLiteral("end");
    for (const QStringList &lines : {QStringList{}, QStringList{header, QStringLiteral("  Retries = 2")},
                                     QStringList{header, QStringLiteral("  EnablePing = Yes"), end},
                                     QStringList{header, QStringLiteral("  Retries = two"), end},
                                     QStringList{header, QStringLiteral("  ViewStyle = vsTiles"), end},
                                     QStringList{header, QStringLiteral("  PingHosts = 'open"), end},
                                     QStringList{header, QStringLiteral("  PingHosts = 'a' b"), end},
                                     QStringList{header, QStringLiteral("  no assignment"), end}})
        EXPECT_FALSE(readOptionsText(lines).has_value()) << joined(lines);
}

}  // namespace
