#include <gtest/gtest.h>

#include "client/ProjectProps.h"
#include "engine.h"
#include "support/OpenProject.h"
#include "support/ProjectFiles.h"
#include "support/UiHostRecorder.h"

namespace {

// Reads the properties (result 0 and one whole record) and releases the
// engine's buffer and strings.
eng::client::ProjectProps readProps() {
    auto read = eng::client::readProjectProps(Eng_GetProjectProp, Eng_FreeMem);
    EXPECT_TRUE(read.has_value()) << "Eng_GetProjectProp answers 0 with one whole record";
    return read.value_or(eng::client::ProjectProps{});
}

EngProjectProps input(const char *note = "", const char *filter = "", const char *userText = "") {
    EngProjectProps in{};
    in.timeout = 30;
    in.maxConnections = 4;
    in.maxPerServer = 1;
    in.note = const_cast<char *>(note);
    in.filter = const_cast<char *>(filter);
    in.userText = const_cast<char *>(userText);
    return in;
}

int32_t setProps(const EngProjectProps &in) { return Eng_SetProjectProp(&in, sizeof in); }

}  // namespace

TEST(ProjectProperties, DefaultsAfterOpenAndLimitsOnSet) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    eng::client::ProjectProps p = readProps();
    EXPECT_EQ(p.timeout, 120);
    EXPECT_EQ(p.pause, 0);
    EXPECT_EQ(p.maxConnections, 5);
    EXPECT_EQ(p.maxPerServer, 2);
    EXPECT_EQ(p.retries, 0);
    EXPECT_EQ(p.note, "");

    EngProjectProps in = input();
    in.timeout = 1000;
    in.pause = 61;
    in.maxConnections = 65535;
    in.maxPerServer = 0;
    in.retries = 101;
    in.optionFlags = 0x80000003;
    ASSERT_EQ(setProps(in), 1);
    p = readProps();
    EXPECT_EQ(p.timeout, 600);
    EXPECT_EQ(p.pause, 60);
    EXPECT_EQ(p.maxConnections, 100);
    EXPECT_EQ(p.maxPerServer, 0);  // no lower bound
    EXPECT_EQ(p.retries, 100);
    EXPECT_EQ(p.optionFlags, 0x80000003u);
}

TEST(ProjectProperties, StoredPartSurvivesReopenAndConnectionValuesDoNot) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    EngProjectProps in = input("  project note  ", " *.html ", "kept for the application");
    in.optionFlags = 1;
    ASSERT_EQ(setProps(in), 1);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT OptionsFlags FROM Project"), 1);
    ASSERT_EQ(Eng_OpenProject(project.path().c_str(), nullptr, nullptr, nullptr), 0);
    eng::client::ProjectProps p = readProps();
    EXPECT_EQ(p.note, "project note");
    EXPECT_EQ(p.filter, "*.html");
    EXPECT_EQ(p.userText, "kept for the application");
    EXPECT_EQ(p.optionFlags, 1u);
    EXPECT_EQ(p.timeout, 120);  // memory values start from their defaults again
}

TEST(ProjectProperties, NoteReferencesMoveAndOldStringsGo) {
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    ASSERT_EQ(setProps(input("first note")), 1);
    ASSERT_EQ(setProps(input("first note")), 1);
    ASSERT_EQ(setProps(input("second note")), 1);
    Eng_CloseProject();
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Strings WHERE String = 'first note'"), 0);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT RefCount FROM Strings WHERE String = 'second note'"), 1);
    EXPECT_EQ(test::queryInteger(project.path(), "SELECT count(*) FROM Strings"), 1);
}

TEST(ProjectProperties, NamedProxiesNeedBothServers) {
    test::UiHostRecorder ui;
    test::OpenProject project;
    ASSERT_EQ(project.openResult(), 0);
    EngProjectProps in = input("note before");
    ASSERT_EQ(setProps(in), 1);

    EngProjectProps bad = input("note after");
    bad.proxyAccess = 3;
    bad.timeout = 77;
    bad.httpProxy = const_cast<char *>("proxy.example:3128:ann:secret");
    bad.ftpProxy = const_cast<char *>("");
    EXPECT_EQ(setProps(bad), 0);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "You must specify both proxy servers!");
    eng::client::ProjectProps p = readProps();
    EXPECT_EQ(p.note, "note before");  // nothing changed
    EXPECT_EQ(p.timeout, 30);

    bad.ftpProxy = const_cast<char *>("ftpproxy::bob:pw");
    ASSERT_EQ(setProps(bad), 1);
    p = readProps();
    EXPECT_EQ(p.proxyAccess, 3u);
    EXPECT_EQ(p.httpProxy, "proxy.example:3128");  // never the credentials
    EXPECT_EQ(p.ftpProxy, "ftpproxy:bob");         // an empty port part takes the user name as port

    // Without named proxies the proxy strings are not even read.
    EngProjectProps direct = input();
    direct.httpProxy = reinterpret_cast<char *>(0x10);  // would crash if read
    direct.ftpProxy = reinterpret_cast<char *>(0x10);
    ASSERT_EQ(setProps(direct), 1);
    EXPECT_EQ(readProps().httpProxy, "");
}
