#pragma once

#include <array>
#include <cstdint>
#include <cstring>

// How the engine talks to lark-parser-host, the helper program that loads
// the parser plug-ins and calls them, so that a plug-in that crashes or
// hangs takes only the helper down. The engine starts it with the plug-in
// files as its arguments and a stream socket as its descriptor 3. Every
// message is a header of a tag byte and a 32-bit number (in the machine's
// own byte order: both ends run on it), some followed by bytes:
//
//   helper: kReady, the number of plug-ins that export the entry point
//   engine: kPage, the first plug-in to call; then the base URL and the
//           page, each as a 32-bit length and its bytes
//   helper: kCalling, the plug-in it calls now (before each call)
//   helper: kAnswer, the length of the answer of the plug-in called last,
//           then the answer; or kNoAnswer, 0, when none answered
//
// The engine ends the helper by closing the socket: it unloads the plug-ins
// and exits.
namespace eng::parserhost {

inline constexpr const char *kProgramName = "lark-parser-host";
inline constexpr int kChannel = 3;

enum Tag : uint8_t { kReady = 'R', kPage = 'P', kCalling = 'C', kAnswer = 'A', kNoAnswer = 'N' };

// The most an answer holds: a plug-in's stream takes no more.
inline constexpr uint32_t kAnswerLimit = 16u << 20;
// The most a request's page and base URL hold: more breaks the protocol.
inline constexpr uint32_t kPageLimit = 16u << 20;
inline constexpr uint32_t kBaseUrlLimit = 1u << 20;

inline constexpr size_t kHeaderSize = 5;
using Header = std::array<char, kHeaderSize>;

inline Header header(uint8_t tag, uint32_t number) {
    Header bytes{static_cast<char>(tag)};
    std::memcpy(bytes.data() + 1, &number, sizeof number);
    return bytes;
}

inline uint32_t numberOf(const char *bytes) {
    uint32_t number;
    std::memcpy(&number, bytes, sizeof number);
    return number;
}

}  // namespace eng::parserhost
