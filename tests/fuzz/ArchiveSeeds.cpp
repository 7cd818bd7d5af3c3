// Writes the seeds of the archive fuzz target: real archives written by the
// engine's own writer from a project that holds tasks with items, URL
// resources with and without bodies, links, form data, long texts and a body
// long enough for the long size field.
//
//   fuzz_archive_seeds FOLDER
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ArchiveInput.h"
#include "ProjectTemplate.h"
#include "engine.h"

namespace {

void fail(const std::string &what) {
    std::fprintf(stderr, "fuzz_archive_seeds: %s\n", what.c_str());
    std::exit(1);
}

// Gives two resources bodies (a page with links, a long text), a title and
// form data, as a finished crawl would have.
void addBodies(const std::string &project) {
    const std::string page =
        "<html><head><title>Seed</title></head><body><a href=\"b.html\">b</a><img src=\"logo.gif\"></body></html>";
    const std::string sql =
        "INSERT INTO Strings (Type, RefCount, String) VALUES (1, 1, 'http://example.com/b.html'),"
        "  (1, 1, 'http://example.com/logo.gif');"
        "INSERT INTO Res (ResId, Body, Hash, Size, Type, ContentType, RefCount) VALUES"
        "  (100, '" +
        page + "', 7, " + std::to_string(page.size()) +
        ", 1, 'text/html', 1),"
        "  (101, zeroblob(70000), 8, 70000, 6, 'text/plain', 1);"
        "INSERT INTO Rel (ResId, UrlId, PostId, Relation) SELECT 100, StrId, 0, 0 FROM Strings"
        "  WHERE String = 'http://example.com/b.html';"
        "INSERT INTO Rel (ResId, UrlId, PostId, Relation) SELECT 100, StrId, 0, 1 FROM Strings"
        "  WHERE String = 'http://example.com/logo.gif';"
        "UPDATE UrlRes SET ResId = 100, State = 2, Type = 1, ContentType = 'text/html', Title = '" +
        std::string(300, 't') +
        "' WHERE UrlResId = (SELECT min(UrlResId) FROM UrlRes);"
        "UPDATE UrlRes SET ResId = 101, State = 2, Type = 6 WHERE UrlResId = (SELECT max(UrlResId) FROM UrlRes);";
    sqlite3 *db = nullptr;
    char *error = nullptr;
    if (sqlite3_open(project.c_str(), &db) != SQLITE_OK || sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error))
        fail(error ? error : "cannot fill the project");
    sqlite3_close(db);
}

std::string contentOf(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeSeed(const std::filesystem::path &path, fuzz::ArchiveInput::Import import, const std::string &tasks,
               const std::string &resources, const std::string &bodies) {
    fuzz::ArchiveInput input;
    input.import = import;
    input.files = {tasks, resources, bodies};
    std::ofstream(path, std::ios::binary) << input.format();
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) fail("usage: fuzz_archive_seeds FOLDER");
    const std::filesystem::path folder = argv[1];
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "sitelark-archive-seeds";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    std::filesystem::create_directories(folder);
    const std::string project = (work / "source.slk").string();
    eng::writeNewProject(project);

    if (Eng_OpenProject(project.c_str(), nullptr, nullptr, nullptr) != 0) fail("cannot open the project");
    EngTaskRecord task{};
    task.url = const_cast<char *>("http://example.com/a.html");
    task.formData = const_cast<char *>("");
    task.userAgent = const_cast<char *>("Seed/1.0");
    task.filter = const_cast<char *>("1;0;0;not *.zip\xFF");
    task.note = const_cast<char *>("a note");
    task.name = const_cast<char *>("First");
    task.referer = const_cast<char *>("http://example.com/");
    task.depth = 2;
    task.folder = 1;
    const uint32_t first = static_cast<uint32_t>(Eng_CreateTask(&task));
    task.url = const_cast<char *>("http://example.com/form.cgi");
    task.formData = const_cast<char *>("q=1&r=2");
    task.name = const_cast<char *>("");
    const uint32_t second = static_cast<uint32_t>(Eng_CreateTask(&task));
    Eng_StopTask(second);
    Eng_CreateUrlRes("http://example.com/extra.txt", "", first);
    Eng_CloseProject();
    addBodies(project);

    if (Eng_OpenProject(project.c_str(), nullptr, nullptr, nullptr) != 0) fail("cannot reopen the project");
    const auto path = [&](const char *name) { return (work / name).string(); };
    const uint32_t tasks[] = {first, second};
    const uint32_t resources[] = {1, 2, 3};
    if (Eng_SerializeTask(path("t").c_str(), path("r").c_str(), path("b").c_str(), 1, 0, tasks, 2) != 1 ||
        Eng_SerializeUrlres(path("r2").c_str(), path("b2").c_str(), 1, resources, 3) != 1)
        fail("the writer failed");
    Eng_CloseProject();

    using fuzz::ArchiveInput;
    writeSeed(folder / "tasks", ArchiveInput::Tasks, contentOf(work / "t"), contentOf(work / "r"),
              contentOf(work / "b"));
    writeSeed(folder / "resources", ArchiveInput::Resources, "", contentOf(work / "r2"), contentOf(work / "b2"));
    writeSeed(folder / "tasks-without-bodies", ArchiveInput::Tasks, contentOf(work / "t"), contentOf(work / "r"), "");
    std::filesystem::remove_all(work);
    return 0;
}
