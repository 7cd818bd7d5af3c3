#pragma once

#include <filesystem>
#include <string>

namespace test {

// A fresh directory under the system's temporary folder, removed with its
// content when the object ends.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    ~TempDir();

    const std::filesystem::path &path() const { return path_; }
    std::string file(const std::string &name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace test
