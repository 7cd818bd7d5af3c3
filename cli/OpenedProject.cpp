#include "OpenedProject.h"

#include <filesystem>

#include "EngineMessages.h"
#include "Failure.h"
#include "engine.h"

namespace lark {

OpenedProject::OpenedProject(const std::string &path, EngWnd *notify) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) throw Failure("no such project file \"" + path + "\"");
    EngineMessages messages;
    const int32_t result = Eng_OpenProject(path.c_str(), nullptr, notify, nullptr);
    if (result == 0) return;
    if (result == ENG_NO_DATABASE_ENGINE) throw Failure("the SQLite library on this system is too old");
    if (result == ENG_ALREADY_OPEN) throw Failure("another project is open in this process");
    throw Failure(messages.summary("cannot open \"" + path + "\""));
}

OpenedProject::~OpenedProject() { Eng_CloseProject(); }

void OpenedProject::check(const std::string &path) { OpenedProject opened(path); }

}  // namespace lark
