#include "ProjectCommands.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "Arguments.h"
#include "Failure.h"
#include "FolderCommands.h"
#include "OpenedProject.h"
#include "ProjectStatistics.h"
#include "ProjectTemplate.h"
#include "QuantityText.h"
#include "RecordBuffer.h"
#include "engine.h"

namespace fs = std::filesystem;

namespace lark {

namespace {

std::string projectArgument(const Arguments &args) {
    args.expectCount(1, 1);
    return args.at(0);
}

void requireFile(const std::string &path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) throw Failure("no such project file \"" + path + "\"");
}

const char *typeName(uint32_t type) {
    static const char *const names[] = {"HTML", "GIF image", "JPEG image", "BMP image", "other", "plain text"};
    return type >= 1 && type <= 6 ? names[type - 1] : "unknown";
}

// The online time and a line per stored resource type.
void printStatistics(std::ostream &out, const eng::client::ProjectStatistics &statistics) {
    out << "Online      " << durationText(statistics.onlineDays) << '\n';
    for (const eng::client::TypeFigures &figures : statistics.types) {
        char line[96];
        std::snprintf(line, sizeof line, "  %-12s %8u bodies  %s\n", typeName(figures.type), figures.bodies,
                      sizeText(figures.bytes).c_str());
        out << line;
    }
}

}  // namespace

int newProject(const std::vector<std::string> &words) {
    Arguments args(words, {}, {"force"});
    const std::string path = projectArgument(args);
    return reportingFailures("new", [&] {
        std::error_code error;
        if (fs::exists(path, error) && !args.has("force"))
            throw Failure("\"" + path + "\" exists already (--force replaces it)");
        try {
            eng::writeNewProject(path);
        } catch (const std::runtime_error &e) {
            throw Failure(e.what());
        }
        std::cout << "Created the empty project " << path << '\n';
        return 0;
    });
}

int projectInfo(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    const std::string path = projectArgument(args);
    return reportingFailures("info", [&] {
        std::ostringstream tree;
        std::optional<EngProjectFigures> figures;
        std::optional<eng::client::ProjectStatistics> statistics;
        {
            OpenedProject opened(path);
            printFolderTree(tree, 2);
            const auto answer = eng::client::receiveRecords<EngProjectFigures>(Eng_FreeMem, Eng_GetProjectFigures);
            figures = answer.first();
            statistics = eng::client::readProjectStatistics(Eng_GetStatistics, Eng_FreeMem);
        }
        if (!figures || !statistics) throw Failure("the project's figures could not be read");
        std::cout << "Project     " << path << "  (" << sizeText(fs::file_size(path)) << ")\n"
                  << "Version     " << figures->version << '\n'
                  << "Tasks       " << figures->tasks << '\n'
                  << "Resources   " << figures->urlResources << '\n'
                  << "Bodies      " << figures->bodies << '\n'
                  << "Strings     " << figures->strings << '\n';
        printStatistics(std::cout, *statistics);
        std::cout << "Folders\n" << tree.str();
        return 0;
    });
}

int compactProject(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    const std::string path = projectArgument(args);
    return reportingFailures("compact", [&] {
        requireFile(path);
        const uintmax_t before = fs::file_size(path);
        if (Eng_CompactDatabase(path.c_str()) != 1) {
            OpenedProject::check(path);
            throw Failure("cannot compact \"" + path + "\"");
        }
        std::cout << "Compacted " << path << ": " << sizeText(before) << " -> " << sizeText(fs::file_size(path))
                  << '\n';
        return 0;
    });
}

int repairProject(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    const std::string path = projectArgument(args);
    return reportingFailures("repair", [&] {
        requireFile(path);
        char *text = nullptr;
        const bool repaired = Eng_RepairDatabaseReport(path.c_str(), &text) == 1;
        const std::string report = eng::client::takeText(text, Eng_FreeMem);
        if (!repaired) throw Failure(report.empty() ? "cannot repair \"" + path + "\"" : report);
        OpenedProject::check(path);
        std::cout << report;
        return 0;
    });
}

}  // namespace lark
