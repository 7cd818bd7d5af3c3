#include "ExportCommand.h"

#include <unistd.h>

#include <iostream>

#include "Arguments.h"
#include "EngineMessages.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "PackedRecords.h"
#include "RecordRelease.h"
#include "WatchedCall.h"
#include "WindowQueue.h"
#include "engine.h"

namespace lark {

namespace {

constexpr unsigned long kLongestName = 255;

struct ExportFigures {
    EngExportProgressRecord progress{};
    std::optional<EngExportSummaryRecord> summary;
};

// Takes the figures out of an export notification.
void take(ExportFigures &figures, const Posted &posted) {
    const auto payload = eng::client::notificationPayload(posted.msg, posted.wParam, posted.lParam);
    if (posted.msg == ENG_NOTIFY_EXPORT) {
        if (const auto record = eng::client::recordAt<EngExportProgressRecord>(payload, 0)) figures.progress = *record;
        if (figures.progress.phase == ENG_EXPORT_FINISHED)
            figures.summary = eng::client::recordAt<EngExportSummaryRecord>(payload, 0);
    }
}

void show(const EngExportProgressRecord &p, bool terminal) {
    if (!terminal) return;
    if (p.phase == ENG_EXPORT_COLLECTING) std::cout << "\rcollecting: " << p.current << " files" << std::flush;
    if (p.phase == ENG_EXPORT_WRITING)
        std::cout << "\rwriting: " << p.current << " of " << p.total << " files and folders" << std::flush;
}

void printSummary(const EngExportSummaryRecord &s, const std::string &dir, double seconds) {
    std::cout << s.progress.current << " files (" << s.bytes << " bytes) written to " << dir << " in " << seconds
              << " s; " << s.localLinks << " links rewritten to exported files, " << s.absoluteLinks
              << " left absolute";
    if (s.notWritten != 0) std::cout << "; " << s.notWritten << " files not written";
    std::cout << '\n';
}

}  // namespace

int exportTask(const std::vector<std::string> &words) {
    Arguments args(words, {"length", "page"}, {"html-ext", "page-only", "project"});
    const bool page = args.value("page").has_value();
    const bool whole = args.has("project");
    const size_t positional = page || whole ? 2 : 3;
    args.expectCount(positional, positional);
    const auto id = static_cast<uint32_t>(whole ? 1 : page ? args.number("page", 0) : args.idAt(1, "TASK", "task"));
    if (id == 0) throw UsageError("URLRES must be a URL resource number");
    const unsigned long length = args.number("length", 0, kLongestName);
    const uint32_t flags = (args.has("html-ext") ? ENG_EXPORT_HTML_EXTENSION : 0) |
                           (length != 0 ? ENG_EXPORT_NAME_LENGTH : 0) |
                           (args.has("page-only") ? ENG_EXPORT_PAGE_ONLY : 0);
    // The destination is a folder, whatever its last name looks like.
    const std::string dir = args.at(positional - 1);
    const std::string destination = dir.ends_with('/') ? dir : dir + "/";
    return reportingFailures("export", [&] {
        WindowQueue window;
        OpenedProject project(args.at(0), window.window());
        EngineMessages messages;
        const bool terminal = isatty(STDOUT_FILENO) != 0;
        ExportFigures figures;
        const WatchedResult exported = watchedCall(
            window,
            [&] {
                const auto cut = static_cast<uint32_t>(length);
                if (whole) return Eng_ExportDatabase(destination.c_str(), flags, cut);
                return page ? Eng_ExportRes(destination.c_str(), id, flags, cut)
                            : Eng_ExportTask(destination.c_str(), id, flags, cut);
            },
            [&](const Posted &posted) { take(figures, posted); }, [&] { show(figures.progress, terminal); });
        if (terminal && figures.progress.phase != 0) std::cout << '\n';
        const std::string what = page ? "URL resource " + std::to_string(id) + " with a stored body"
                                      : "task " + std::to_string(id) + " with items";
        if (exported.result != 1) throw Failure(messages.summary("there is no " + what + " to export"));
        for (const std::string &text : messages.texts()) std::cerr << "lark export: " << text << '\n';
        printSummary(figures.summary.value_or(EngExportSummaryRecord{}), dir, exported.seconds);
        return 0;
    });
}

}  // namespace lark
