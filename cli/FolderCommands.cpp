#include "FolderCommands.h"

#include <iostream>

#include "Arguments.h"
#include "Failure.h"
#include "FolderRecords.h"
#include "OpenedProject.h"
#include "engine.h"

namespace lark {

void printFolderTree(std::ostream &out, int indent) {
    walkFolders([&](const FolderEntry &f, int depth) {
        out << std::string(indent + 2 * depth, ' ') << (f.name.empty() ? "(unnamed)" : f.name) << "  [" << f.id
            << "]\n";
    });
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
    const uint32_t parent = args.idAt(1, "PARENT", "folder");
    return reportingFailures("mkdir", [&] {
        OpenedProject project(args.at(0));
        if (!folderExists(parent)) throw Failure("there is no folder " + std::to_string(parent));
        const int32_t id = Eng_CreateFolder(parent, args.at(2).c_str());
        if (id <= 0) throw Failure("the folder could not be created");
        std::cout << id << '\n';
        return 0;
    });
}

}  // namespace lark
