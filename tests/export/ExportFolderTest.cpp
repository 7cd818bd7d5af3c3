#include "export/ExportFolder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "base/EngineException.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using eng::ExportFolder;

namespace {

std::string contents(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::set<std::string> namesIn(const fs::path &folder) {
    std::set<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// Lets writes beyond a size fail (as on a full disk) while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit saved_{};
};

}  // namespace

TEST(ExportFolderTest, WritesCompleteFilesAndNeverReplacesOne) {
    test::TempDir dir;
    const ExportFolder folder = ExportFolder::destination(dir.file("new/nested"));
    EXPECT_TRUE(folder.writeNew("page.html", "<p>one</p>"));
    EXPECT_FALSE(folder.writeNew("page.html", "<p>two</p>"));
    std::ofstream(dir.file("new/nested/foreign.txt")) << "kept";
    EXPECT_FALSE(folder.writeNew("foreign.txt", "lost"));
    EXPECT_EQ(contents(dir.file("new/nested/page.html")), "<p>one</p>");
    EXPECT_EQ(contents(dir.file("new/nested/foreign.txt")), "kept");
    EXPECT_TRUE(folder.holds("foreign.txt"));
    EXPECT_TRUE(folder.holds("Foreign.TXT"));
    EXPECT_FALSE(folder.holds("missing"));
    // No temporary file is left behind.
    EXPECT_EQ(namesIn(dir.file("new/nested")), (std::set<std::string>{"page.html", "foreign.txt"}));
}

TEST(ExportFolderTest, SymbolicLinksNeverLeadAWriteOutside) {
    test::TempDir dir;
    fs::create_directory(dir.file("outside"));
    fs::create_directory(dir.file("dest"));
    fs::create_directory_symlink(dir.file("outside"), dir.file("dest/away"));
    fs::create_symlink(dir.file("outside/target.txt"), dir.file("dest/file.txt"));
    const ExportFolder folder = ExportFolder::destination(dir.file("dest"));
    try {
        folder.subfolder("away");
        FAIL() << "a linked folder was entered";
    } catch (const eng::CEngineException &e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cant't create directory " + dir.file("dest/away"), 0), 0u) << e.what();
    }
    EXPECT_FALSE(folder.writeNew("file.txt", "through the link"));
    EXPECT_TRUE(fs::is_empty(dir.file("outside")));
    // An existing real folder is taken.
    fs::create_directory(dir.file("dest/real"));
    EXPECT_TRUE(folder.subfolder("real").writeNew("x", "x"));
}

TEST(ExportFolderTest, FailuresSayWhatCouldNotBeDoneAndLeaveNoPartialFile) {
    test::TempDir dir;
    std::ofstream(dir.file("plain")) << "a file, not a folder";
    try {
        ExportFolder::destination(dir.file("plain/sub"));
        FAIL() << "a folder was made under a file";
    } catch (const eng::CEngineException &e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cant't create directory " + dir.file("plain/sub") + ": ", 0), 0u);
    }
    const ExportFolder folder = ExportFolder::destination(dir.file("full"));
    {
        const FileSizeLimit limit(1000);
        EXPECT_THROW(folder.writeNew("big.bin", std::string(5000, 'x')), eng::CEngineException);
    }
    EXPECT_TRUE(fs::is_empty(dir.file("full")));
}
