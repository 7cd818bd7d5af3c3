#include "FuzzProject.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "ProjectTemplate.h"
#include "api/EngineProcess.h"
#include "base/EngineException.h"
#include "core/CommandTable.h"
#include "store/DatabaseException.h"
#include "sys/UiHost.h"

namespace fuzz {

namespace {

// Thrown after a watched command has run, to roll its transaction back.
struct RollBack : std::exception {
    const char *what() const noexcept override { return "rolled back by the fuzz target"; }
};

std::filesystem::path newFolder() {
    const char *base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/sitelark-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern;
}

// The engine's messages are expected here and would only fill the log;
// SITELARK_FUZZ_MESSAGES=1 shows them, to see what an input does.
void messageBox(void *, const char *, const char *text, uint32_t) {
    static const bool shown = std::getenv("SITELARK_FUZZ_MESSAGES") != nullptr;
    if (shown) std::fprintf(stderr, "engine message: %s\n", text);
}

eng::CommandEntry watchedEntry(eng::CommandEntry entry, std::shared_ptr<bool> rollBack) {
    entry.handler = [inner = std::move(entry.handler), rollBack](eng::DispatchContext &c) -> intptr_t {
        intptr_t result = 0;
        try {
            result = inner(c);
        } catch (const eng::CEngineException &) {
            throw;
        } catch (const eng::CDatabaseException &) {
            throw;
        } catch (const std::exception &e) {
            std::fprintf(stderr, "a command failed with a foreign exception: %s\n", e.what());
            std::abort();
        }
        if (*rollBack) throw RollBack();
        return result;
    };
    return entry;
}

}  // namespace

FuzzProject::FuzzProject(const std::vector<uint32_t> &watched)
    : folder_(newFolder()), rollBack_(std::make_shared<bool>(false)) {
    static const EngUiHost host{nullptr, messageBox};
    eng::setUiHost(&host);
    const std::string path = file("project.slk");
    eng::writeNewProject(path);
    eng::CommandTable commands = eng::defaultCommandTable();
    for (uint32_t command : watched) commands.set(command, watchedEntry(*commands.find(command), rollBack_));
    if (eng::EngineProcess::instance().open(path.c_str(), nullptr, nullptr, nullptr, std::move(commands)) != 0) {
        std::fprintf(stderr, "cannot open the project %s\n", path.c_str());
        std::abort();
    }
}

FuzzProject::~FuzzProject() {
    eng::EngineProcess::instance().close();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void FuzzProject::setUp() { *rollBack_ = true; }

}  // namespace fuzz
