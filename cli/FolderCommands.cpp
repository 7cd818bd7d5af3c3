#include "FolderCommands.h"

#include <iostream>
#include <set>

#include "Arguments.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "engine.h"

namespace lark {

namespace {

struct FolderEntry {
    uint32_t id;
    uint32_t subfolders;
    std::string name;
};

std::vector<FolderEntry> subFolders(uint32_t parent) {
    void *addr = nullptr;
    uint32_t len = 0;
    Eng_GetSubFolders(parent, &addr, &len);
    std::vector<FolderEntry> out;
    auto *records = static_cast<EngFolderRecord *>(addr);
    for (size_t i = 0; i < len / sizeof(EngFolderRecord); ++i) {
        out.push_back({records[i].folder, records[i].subfolders, records[i].name});
        Eng_FreeMem(records[i].name);
    }
    Eng_FreeMem(addr);
    return out;
}

void printBelow(std::ostream &out, uint32_t parent, int indent, std::set<uint32_t> &shown) {
    for (const FolderEntry &f : subFolders(parent)) {
        if (!shown.insert(f.id).second) continue;  // never loop on a damaged tree
        out << std::string(indent, ' ') << (f.name.empty() ? "(unnamed)" : f.name) << "  [" << f.id << "]\n";
        if (f.subfolders) printBelow(out, f.id, indent + 2, shown);
    }
}

uint32_t folderNumber(const std::string &text) {
    char *end = nullptr;
    const unsigned long n = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n == 0 || n > UINT32_MAX)
        throw UsageError("PARENT must be a folder number, not \"" + text + "\"");
    return static_cast<uint32_t>(n);
}

}  // namespace

void printFolderTree(std::ostream &out, int indent) {
    std::set<uint32_t> shown;
    printBelow(out, 0, indent, shown);
}

int listFolders(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    args.expectCount(1, 1);
    return reportingFailures("folders", [&] {
        OpenedProject project(args.at(0));
        printFolderTree(std::cout, 0);
        return 0;
    });
}

int makeFolder(const std::vector<std::string> &words) {
    Arguments args(words, {}, {});
    args.expectCount(3, 3);
    const uint32_t parent = folderNumber(args.at(1));
    return reportingFailures("mkdir", [&] {
        OpenedProject project(args.at(0));
        void *addr = nullptr;
        uint32_t len = 0;
        Eng_GetFolder(parent, &addr, &len);
        if (len == 0) throw Failure("there is no folder " + std::to_string(parent));
        auto *record = static_cast<EngFolderRecord *>(addr);
        Eng_FreeMem(record->name);
        Eng_FreeMem(addr);
        const int32_t id = Eng_CreateFolder(parent, args.at(2).c_str());
        if (id <= 0) throw Failure("the folder could not be created");
        std::cout << id << '\n';
        return 0;
    });
}

}  // namespace lark
