// Fuzz target: any bytes as the transfer archives of a task import or a
// URL-resource import into an open project, through the engine's exports.
// The import must succeed or fail with the engine's own error: no crash, no
// foreign exception (FuzzProject ends the run on one), no allocation for a
// count that the file does not hold (libFuzzer's malloc limit), no endless
// loop (its time-out).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ArchiveInput.h"
#include "FuzzProject.h"
#include "core/Messages.h"
#include "engine.h"

namespace {

void writeFile(const std::string &path, std::string_view bytes) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static fuzz::FuzzProject project({eng::msg::kSerializeTask, eng::msg::kSerializeUrlres});
    static const std::string paths[] = {project.file("tasks.arc"), project.file("resources.arc"),
                                        project.file("bodies.arc")};
    static const bool ready = (project.setUp(), true);
    (void)ready;
    const fuzz::ArchiveInput input = fuzz::ArchiveInput::parse({reinterpret_cast<const char *>(data), size});
    for (size_t i = 0; i < input.files.size(); ++i) writeFile(paths[i], input.files[i]);
    if (input.import == fuzz::ArchiveInput::Tasks)
        Eng_SerializeTask(paths[0].c_str(), paths[1].c_str(), paths[2].c_str(), 0, 1, nullptr, 0);
    else
        Eng_SerializeUrlres(paths[1].c_str(), paths[2].c_str(), 0, nullptr, 0);
    return 0;
}
