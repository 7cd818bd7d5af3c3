#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace fuzz {

// One input of the archive target: which import runs, and the three archive
// files it reads (tasks, URL resources, bodies; the URL-resource import reads
// the last two), joined by a separator.
struct ArchiveInput {
    static constexpr std::string_view kSeparator = "\n--archive--\n";
    enum Import : char { Tasks = 'T', Resources = 'U' };

    Import import = Tasks;
    std::array<std::string_view, 3> files;

    static ArchiveInput parse(std::string_view bytes) {
        ArchiveInput input;
        if (bytes.empty()) return input;
        input.import = bytes[0] & 1 ? Resources : Tasks;
        bytes.remove_prefix(1);
        for (size_t i = 0; i < input.files.size(); ++i) {
            const size_t end = i + 1 < input.files.size() ? bytes.find(kSeparator) : std::string_view::npos;
            input.files[i] = bytes.substr(0, end);
            bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + kSeparator.size());
        }
        return input;
    }

    std::string format() const {
        std::string out(1, import);
        for (size_t i = 0; i < files.size(); ++i) out.append(i ? kSeparator : "").append(files[i]);
        return out;
    }
};

}  // namespace fuzz
