#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace eng {

// The per-user settings file shared by the engine and the application:
// $XDG_CONFIG_HOME/Quenmar/Lark.conf (or ~/.config/Quenmar/Lark.conf), an
// INI file whose group "Software\Quenmar\Lark" holds the values by name.
// Values the engine does not know are kept as they are when it writes.
class SettingsStore {
public:
    static constexpr std::string_view kGroup = "Software\\Quenmar\\Lark";
    // Word-index speeds that the engine measures and the application reads.
    static constexpr std::string_view kIndexWordsPerSec = "IndexWordsPerSec";
    static constexpr std::string_view kExtractWordsPerSec = "ExtractWordsPerSec";

    explicit SettingsStore(std::string file = defaultFile());
    static std::string defaultFile();

    const std::string &file() const { return file_; }
    std::optional<std::string> read(std::string_view name) const;
    std::optional<uint32_t> readNumber(std::string_view name) const;
    // Creates the folder and file when missing. Returns false when the value
    // could not be written; the caller goes on without it.
    bool write(std::string_view name, std::string_view value);
    bool writeNumber(std::string_view name, uint32_t value);

private:
    std::string file_;
};

}  // namespace eng
