#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fuzz {

// A project made from the template in a temporary folder and opened through
// the engine's exports with its own command table, for a whole fuzz run.
// The commands named are watched: an error of the engine or of the database
// fails the command as it always does, any other exception ends the run as a
// finding, and once setUp() has run every command's changes are rolled back,
// so that each input meets the same project.
class FuzzProject {
public:
    explicit FuzzProject(const std::vector<uint32_t> &watched);
    FuzzProject(const FuzzProject &) = delete;
    FuzzProject &operator=(const FuzzProject &) = delete;
    ~FuzzProject();

    // Ends the setting up: from now on watched commands change nothing.
    void setUp();
    // A file in the project's folder.
    std::string file(const std::string &name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
    std::shared_ptr<bool> rollBack_;
};

}  // namespace fuzz
