#include "Commands.h"

#include <cstdio>
#include <iostream>

#include "Arguments.h"
#include "CatCommand.h"
#include "EngineBuffer.h"
#include "ExportCommand.h"
#include "FilterTestCommand.h"
#include "FolderCommands.h"
#include "IndexCommand.h"
#include "LinksCommand.h"
#include "PingCommand.h"
#include "ProjectCommands.h"
#include "PropsCommand.h"
#include "RunCommands.h"
#include "SearchCommand.h"
#include "TaskCommands.h"
#include "TaskListCommands.h"
#include "engine.h"

namespace lark {

namespace {

int printVersion(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    args.expectCount(0, 0);
    std::cout << "lark " << eng::client::takeText(Eng_GetVersion(nullptr), Eng_FreeMem) << '\n';
    return 0;
}

int printHelp(const std::vector<std::string> &words);

constexpr Command kCommands[] = {
    {"help", "help", "show this list", printHelp},
    {"version", "version", "show the engine's version (also --version)", printVersion},
    {"new", "new PROJECT [--force]", "make a new, empty project file", newProject},
    {"info", "info PROJECT", "show a project's version, contents and folders", projectInfo},
    {"compact", "compact PROJECT", "compact a project file", compactProject},
    {"repair", "repair PROJECT",
     "check a project file; a damaged one is rebuilt from every row that can be read and kept as PROJECT.damaged "
     "(the rows saved and lost are listed per table)",
     repairProject},
    {"folders", "folders PROJECT", "show the folder tree", listFolders},
    {"mkdir", "mkdir PROJECT PARENT NAME", "add a folder under folder number PARENT", makeFolder},
    {"links", "links FILE [--base URL] | links PROJECT URL", "the links of an HTML file, or of a stored page",
     listLinks},
    {"props", "props PROJECT [--set NAME=VALUE]...", "show or set note, filter, user-text, options", projectProps},
    {"add",
     "add PROJECT URL [--depth N] [--name T] [--filter TEXT] [--folder ID] [--agent UA] [--age DAYS] [--post DATA]",
     "add a task, show its number (depth 1, folder 1, age 0 = always fetch); TEXT without ';' filters every link",
     addTask},
    {"tasks", "tasks PROJECT [--folder ID]", "list the tasks of one folder, or of all", listTasks},
    {"items", "items PROJECT TASK", "list a task's items with the state of their addresses", listItems},
    {"rm", "rm PROJECT TASK", "delete a task", removeTask},
    {"stop", "stop PROJECT TASK", "stop a task and show its state", stopTask},
    {"start", "start PROJECT TASK", "let a stopped task run again and show its state", startTask},
    {"run",
     "run PROJECT [--connections N] [--per-server N] [--retries N] [--timeout S] [--pause S] [--for S] [--user U "
     "[--password-file F]]",
     "go online and crawl until nothing is queued (or S seconds pass, or Ctrl-C); then offline. A site that asks "
     "for a password gets user U and the first line of F, once per site and realm; without --user lark asks on "
     "the terminal (the password unechoed), or refuses when input is not a terminal",
     runProject},
    {"ping", "ping PROJECT HOST... [--for S]",
     "ping the hosts from the project's engine for S seconds (4): its online verdicts, then each host's result",
     pingHosts},
    {"mirror", "mirror URL [-o PROJECT] [--force] [--span-hosts] [--index] [add's task options] [run's options]",
     "make a project with one task for URL and crawl it to the end (PROJECT: the host's name .slk); "
     "pages and files on other hosts are left out unless --span-hosts is given; --index then indexes its words",
     mirrorSite},
    {"cat", "cat PROJECT URL [--task N] [--date D-M-Y-h-m-s]",
     "what the browser gets for URL: content type, address, then the stored page or the status page (as in the "
     "browser, a missing page is queued unless the project's option 1 says not)",
     catPage},
    {"index", "index PROJECT", "index the words of every stored page and text not indexed yet", indexProject},
    {"search",
     "search PROJECT [QUERY] [--title Q] [--url PATTERN] [--state D] [--type T] [--min-size N] [--max-size N] "
     "[--done-from DATE] [--done-to DATE] [--modified-from DATE] [--modified-to DATE] [--max N]",
     "the stored resources whose words match QUERY (run index first) and the other criteria: address, tab, title. "
     "QUERY: words, \"phrases\", and, or, not, ( ), patterns with * ? # [ ] [! ]; D: 1 queued, 2 with errors, "
     "4 without errors, added (6 unless given); DATE: YEAR-MONTH-DAY[THOUR:MINUTE[:SECOND]]",
     searchProject},
    {"export", "export PROJECT TASK DIR [--html-ext] [--length N]",
     "write the task's stored files into DIR as browsable files with relative links: a page named after the task "
     "that opens its start page, beside a folder of the files by address (--html-ext: pages end in .html; "
     "--length: longest name, at most 255)",
     exportTask},
    {"export", "export PROJECT --page URLRES DIR [--page-only] [--html-ext] [--length N]",
     "write one stored page into DIR with the files it embeds in a folder beside it (frames likewise), its other "
     "links absolute (--page-only: the page alone, every link absolute)",
     exportTask},
    {"export", "export PROJECT --project DIR [--html-ext] [--length N]",
     "write every stored address of the project into \"DIR/<name> Lark Project\": the files in \"Project Files\", "
     "beside them the folder tree with a page per task",
     exportTask},
    {"filter-test", "filter-test PROJECT TASK URL [--kind N]",
     "whether the task's filter accepts URL as a link of kind N (0, a hyperlink, unless given)", testTaskFilter},
};

int printHelp(const std::vector<std::string> &) {
    std::cout << "lark - the Sitelark command-line client\n\nUsage: lark COMMAND [ARGUMENTS]\n\nCommands:\n";
    // A usage too long for its column gets a line of its own, the summary under it.
    constexpr size_t kColumn = 36;
    for (const Command &c : kCommands) {
        const std::string usage(c.usage), summary(c.summary);
        if (usage.size() > kColumn)
            std::printf("  %s\n  %-*s %s\n", usage.c_str(), int(kColumn), "", summary.c_str());
        else
            std::printf("  %-*s %s\n", int(kColumn), usage.c_str(), summary.c_str());
    }
    return 0;
}

const Command *find(std::string_view name) {
    for (const Command &c : kCommands)
        if (c.name == name) return &c;
    return nullptr;
}

}  // namespace

int runLark(const std::vector<std::string> &words) {
    if (words.empty()) {
        printHelp({});
        return 2;
    }
    std::string name = words.front();
    if (name == "--version" || name == "-V") name = "version";
    if (name == "--help" || name == "-h") name = "help";
    const Command *command = find(name);
    if (!command) {
        std::cerr << "lark: unknown command \"" << words.front() << "\" (see lark help)\n";
        return 2;
    }
    try {
        return command->run(std::vector<std::string>(words.begin() + 1, words.end()));
    } catch (const UsageError &e) {
        std::cerr << "lark " << command->name << ": " << e.what() << "\nusage: lark " << command->usage << '\n';
        return 2;
    } catch (const std::exception &e) {
        std::cerr << "lark " << command->name << ": " << e.what() << '\n';
        return 1;
    }
}

}  // namespace lark
