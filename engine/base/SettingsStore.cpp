#include "base/SettingsStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace eng {

namespace {

std::vector<std::string> readLines(const std::string &file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool isGroup(const std::string &line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

// The value part of "name=value" when the line sets that name.
std::optional<std::string> valueOf(const std::string &line, std::string_view name) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    std::string_view key(line.data(), eq);
    while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
    if (key != name) return std::nullopt;
    std::string value = line.substr(eq + 1);
    value.erase(0, value.find_first_not_of(' '));
    return value;
}

// Holds an advisory lock on a file beside the settings, so that the engine
// and the application never interleave their rewrites.
class FileLock {
public:
    explicit FileLock(const std::string &path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_;
};

}  // namespace

SettingsStore::SettingsStore(std::string file) : file_(std::move(file)) {}

std::string SettingsStore::defaultFile() {
    std::filesystem::path base;
    if (const char *config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        base = config;
    else if (const char *home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".config";
    else
        base = std::filesystem::temp_directory_path();
    return (base / "Quenmar" / "Lark.conf").string();
}

std::optional<std::string> SettingsStore::read(std::string_view name) const {
    bool inGroup = false;
    for (const std::string &line : readLines(file_)) {
        if (isGroup(line))
            inGroup = std::string_view(line).substr(1, line.size() - 2) == kGroup;
        else if (inGroup)
            if (auto value = valueOf(line, name)) return value;
    }
    return std::nullopt;
}

std::optional<uint32_t> SettingsStore::readNumber(std::string_view name) const {
    auto text = read(name);
    if (!text || text->empty()) return std::nullopt;
    char *end = nullptr;
    const unsigned long long n = std::strtoull(text->c_str(), &end, 10);
    if (*end != '\0' || n > UINT32_MAX || text->front() == '-') return std::nullopt;
    return static_cast<uint32_t>(n);
}

bool SettingsStore::write(std::string_view name, std::string_view value) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(file_).parent_path(), error);
    FileLock lock(file_ + ".lock");
    if (!lock.held()) return false;

    std::vector<std::string> lines = readLines(file_);
    const std::string setting = std::string(name) + "=" + std::string(value);
    bool inGroup = false, written = false;
    size_t groupEnd = lines.size();
    for (size_t i = 0; i < lines.size() && !written; ++i) {
        if (isGroup(lines[i])) {
            if (inGroup) groupEnd = i;
            inGroup = std::string_view(lines[i]).substr(1, lines[i].size() - 2) == kGroup;
            if (inGroup) groupEnd = lines.size();
        } else if (inGroup && valueOf(lines[i], name)) {
            lines[i] = setting;
            written = true;
        }
    }
    if (!written) {
        const bool hasGroup = std::any_of(lines.begin(), lines.end(), [](const std::string &l) {
            return isGroup(l) && std::string_view(l).substr(1, l.size() - 2) == kGroup;
        });
        if (hasGroup) {
            // Insert before the blank lines that end the group.
            size_t at = groupEnd;
            while (at > 0 && lines[at - 1].empty()) --at;
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), setting);
        } else {
            if (!lines.empty() && !lines.back().empty()) lines.emplace_back();
            lines.push_back("[" + std::string(kGroup) + "]");
            lines.push_back(setting);
        }
    }
    // Replaced in one step, so that a reader never sees half a file.
    const std::string temporary = file_ + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const std::string &line : lines) out << line << '\n';
        out.flush();
        if (!out) return false;
    }
    std::filesystem::rename(temporary, file_, error);
    return !error;
}

bool SettingsStore::writeNumber(std::string_view name, uint32_t value) { return write(name, std::to_string(value)); }

}  // namespace eng
