#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "core/Engine.h"
#include "core/Messages.h"
#include "engine.h"
#include "net/NetworkSettings.h"
#include "store/Database.h"
#include "support/ConnectionProperties.h"
#include "support/DamagedFiles.h"
#include "support/Eventually.h"
#include "support/NginxServer.h"
#include "support/OpenProject.h"
#include "support/PeakMemory.h"
#include "support/ProjectFiles.h"
#include "support/ScriptedHttpServer.h"
#include "support/TaskRecords.h"
#include "support/TempDir.h"
#include "support/UiHostRecorder.h"

using namespace std::chrono_literals;

namespace {

constexpr size_t kMiB = 1 << 20;

// The body stored for the address's URL resource, read straight from the project file.
std::vector<uint8_t> storedBody(const std::string &project, const std::string &address) {
    sqlite3 *db = nullptr;
    sqlite3_open_v2(project.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *query = nullptr;
    sqlite3_prepare_v2(db, "SELECT Body FROM Res JOIN UrlRes USING (ResId) WHERE UrlRes.Url = ?", -1, &query, nullptr);
    sqlite3_bind_text(query, 1, address.c_str(), -1, SQLITE_TRANSIENT);
    std::vector<uint8_t> body;
    if (sqlite3_step(query) == SQLITE_ROW) {
        const auto *bytes = static_cast<const uint8_t *>(sqlite3_column_blob(query, 0));
        body.assign(bytes, bytes + sqlite3_column_bytes(query, 0));
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    return body;
}

bool allComplete(const std::vector<uint32_t> &tasks) {
    for (const uint32_t task : tasks)
        if (test::taskById(task).raw.state != ENG_TASK_COMPLETE) return false;
    return true;
}

uint32_t createTask(const std::string &url) {
    EngTaskRecord in = test::taskInput(url.c_str(), 0);
    return static_cast<uint32_t>(Eng_CreateTask(&in));
}

// A crawl in a project whose store takes bodies up to the given size.
class LargeBodiesTest : public ::testing::Test {
protected:
    explicit LargeBodiesTest(int storeLimit = 1'000'000'000) {
        eng::CommandTable table = eng::defaultCommandTable();
        table.set(eng::msg::kGetStatistics, {[storeLimit](eng::DispatchContext &c) {
                      sqlite3_limit(c.engine.database().handle(), SQLITE_LIMIT_LENGTH, storeLimit);
                      return intptr_t{0};
                  }});
        project_ = std::make_unique<test::OpenProject>(table);
        Eng_GetStatistics(nullptr, nullptr);
    }
    ~LargeBodiesTest() override { eng::NetworkSettings::set(saved_); }

    // Crawls the tasks to their end; the peak memory that took, beyond what was in use before.
    size_t crawl(const std::vector<uint32_t> &tasks) {
        const test::PeakGrowth growth;
        EXPECT_EQ(Eng_Run(), 0);
        EXPECT_TRUE(test::eventually([&] { return allComplete(tasks); }, 60s));
        const size_t peak = growth.bytes();
        Eng_CloseProject();
        return peak;
    }

    eng::NetworkSettings saved_ = eng::NetworkSettings::current();
    std::unique_ptr<test::OpenProject> project_;
};

class EndlessBodyTest : public LargeBodiesTest {
protected:
    EndlessBodyTest() : LargeBodiesTest(kStoreLimit) {}
    static constexpr int kStoreLimit = 256 * kMiB;
};

// A server that never ends its body: the download stops at the store's limit
// with the store's error, memory stays low, and the crawl goes on.
TEST_F(EndlessBodyTest, StopsAtTheStoresLimitWithItsErrorAndTheCrawlGoesOn) {
    test::ScriptedHttpServer server;
    server.routeEndless(
        "/endless", "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nTransfer-Encoding: chunked\r\n\r\n",
        "4000\r\n" + std::string(0x4000, 'z') + "\r\n");
    server.answer(test::httpResponse(200, "OK", "after the endless one", {"Content-Type: text/plain"}));
    test::UiHostRecorder messages;
    ASSERT_TRUE(test::setConnectionProperties(1, 1, 3));
    const auto started = std::chrono::steady_clock::now();
    const size_t peak = crawl({createTask(server.url("/endless")), createTask(server.url("/after"))});
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "endless body: peak memory +" << peak / kMiB << " MiB, " << seconds << " s\n";

    if (test::kMemoryMeasurable) {
        EXPECT_LT(peak, 32 * kMiB);
    }
    ASSERT_FALSE(messages.messages().empty());
    EXPECT_NE(messages.messages().front().text.find(server.url("/endless") + " is too large to store"),
              std::string::npos)
        << messages.messages().front().text;
    EXPECT_EQ(test::queryText(project_->path(),
                              "SELECT State || ' ' || Error || ' ' || TcpError || ' ' || LastError || ' ' || ResId || "
                              "' ' || Retries FROM UrlRes WHERE Url LIKE '%/endless'"),
              "2 1 0 27 0 0");  // done, failed with "File too large", nothing stored, not tried again
    const std::vector<uint8_t> after = storedBody(project_->path(), server.url("/after"));
    EXPECT_EQ(std::string(after.begin(), after.end()), "after the endless one");
}

// A body far larger than what is held in memory is stored whole, piece by
// piece, reads back the same, and is exported to its file piece by piece. Storing still costs about twice its size
// for a moment: the database builds a row in memory whenever it writes it
// (the body is not the row's last column, and the reference count is kept in
// the same row), so only the download itself is free of the body's size.
TEST_F(LargeBodiesTest, ALargeBodyIsStoredWholeAndReadsBackTheSame) {
    test::TempDir site;
    std::vector<uint8_t> bytes(64 * kMiB);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
    std::ofstream(site.file("big.bin"), std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    test::NginxServer server(site.path());
    ASSERT_TRUE(test::setConnectionProperties(1, 1, 0));
    const auto started = std::chrono::steady_clock::now();
    const size_t peak = crawl({createTask(server.url("/big.bin"))});
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "64 MiB body: peak memory +" << peak / kMiB << " MiB, " << seconds << " s\n";

    // Twice the body while its row is written, and the 16 MiB page cache; a
    // third copy held while it downloads would pass 192 MiB.
    if (test::kMemoryMeasurable) {
        EXPECT_LT(peak, 176 * kMiB);
    }
    EXPECT_TRUE(storedBody(project_->path(), server.url("/big.bin")) == bytes);

    test::TempDir out;
    ASSERT_EQ(Eng_OpenProject(project_->path().c_str(), nullptr, nullptr, nullptr), 0);
    const test::PeakGrowth exporting;
    ASSERT_EQ(Eng_ExportTask(out.path().c_str(), 1, 0, 0), 1);
    const size_t exportPeak = exporting.bytes();
    Eng_CloseProject();
    std::cout << "64 MiB body exported: peak memory +" << exportPeak / kMiB << " MiB\n";
    if (test::kMemoryMeasurable) {  // the database's 16 MiB page cache fills with the body's pages as they pass
        EXPECT_LT(exportPeak, 24 * kMiB);
    }
    std::string exported;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(out.path()))
        if (entry.path().filename() == "big.bin") exported = test::fileBytes(entry.path().string());
    EXPECT_TRUE(exported == std::string(bytes.begin(), bytes.end()));
}

}  // namespace
