#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sys/FileDescriptor.h"
#include "sys/SpawnedProcess.h"

namespace eng {

// A running lark-parser-host with plug-ins loaded, and the socket to it (see
// ParserHostProtocol.h). Every wait for the helper is bounded by the call
// limit: a helper that does not answer in time, closes the socket or breaks
// the protocol is failed, and is killed rather than asked to end.
class ParserHost {
public:
    // Starts the program with the plug-in files and waits until it has
    // loaded them. Throws CEngineException when it cannot be started or has
    // not reported within the limit.
    ParserHost(const std::filesystem::path &program, const std::vector<std::filesystem::path> &plugins,
               std::chrono::milliseconds callLimit);
    // Closes the socket and gives a waiting helper the call limit to unload
    // the plug-ins and exit; kills it when it has failed or takes longer.
    ~ParserHost();
    ParserHost(const ParserHost &) = delete;
    ParserHost &operator=(const ParserHost &) = delete;

    // How many of the files export the entry point.
    uint32_t pluginCount() const { return count_; }
    // False when the helper has ended or written something while it waits
    // for a page, as a healthy one never does.
    bool waiting() const;

    struct Reply {
        std::optional<std::string> answer;   // the first answer, at most kAnswerLimit bytes
        bool failed = false;                 // no reply: the helper is to be ended
        std::optional<uint32_t> lastCalled;  // the plug-in called last, from `first` on (the culprit when failed)
    };
    // Offers the page to the plug-ins from `first` on; each call has the
    // limit to return. A page over kPageLimit bytes is offered cut there.
    Reply ask(uint32_t first, std::string_view baseUrl, std::string_view page);

private:
    using Deadline = std::chrono::steady_clock::time_point;
    Deadline deadline() const { return std::chrono::steady_clock::now() + callLimit_; }
    bool send(std::string_view bytes, Deadline until);
    bool sendText(std::string_view text, Deadline until);
    bool receive(char *bytes, size_t count, Deadline until);
    // Waits for the socket to be readable or writable until the deadline.
    bool await(short event, Deadline until);

    std::chrono::milliseconds callLimit_;
    FileDescriptor socket_;
    std::optional<SpawnedProcess> process_;
    uint32_t count_ = 0;
    bool failed_ = false;
};

}  // namespace eng
