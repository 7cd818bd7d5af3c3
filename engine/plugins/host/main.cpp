// lark-parser-host: the helper program in which the engine runs its parser
// plug-ins, so that a plug-in that crashes or hangs ends only this process.
// It loads the plug-in files named by its arguments, then answers the pages
// the engine sends over its descriptor 3 (see ParserHostProtocol.h) until
// the engine closes it.

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "plugins/ParserHostProtocol.h"
#include "plugins/host/AnswerStream.h"
#include "plugins/host/LoadedPlugins.h"

using namespace eng::parserhost;

namespace {

// Sends the bytes to the engine; a socket the engine has closed ends the
// helper at once, since nobody waits for the answer.
void put(const void *bytes, size_t count) {
    const char *at = static_cast<const char *>(bytes);
    while (count > 0) {
        const ssize_t sent = send(kChannel, at, count, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) _exit(0);
        at += sent;
        count -= static_cast<size_t>(sent);
    }
}

void putHeader(uint8_t tag, uint32_t number) { put(header(tag, number).data(), kHeaderSize); }

bool take(void *bytes, size_t count) {
    char *at = static_cast<char *>(bytes);
    while (count > 0) {
        const ssize_t got = read(kChannel, at, count);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        at += got;
        count -= static_cast<size_t>(got);
    }
    return true;
}

std::optional<std::string> takeText(uint32_t limit) {
    char length[sizeof(uint32_t)];
    if (!take(length, sizeof length) || numberOf(length) > limit) return std::nullopt;
    std::string text(numberOf(length), '\0');
    if (!take(text.data(), text.size())) return std::nullopt;
    return text;
}

struct Page {
    uint32_t first = 0;  // the plug-in to start with
    std::string baseUrl;
    std::string bytes;
};

// The engine's next page; nothing when it has closed the socket or broken
// the protocol.
std::optional<Page> takePage() {
    Header head;
    if (!take(head.data(), head.size()) || head[0] != kPage) return std::nullopt;
    auto baseUrl = takeText(kBaseUrlLimit);
    if (!baseUrl) return std::nullopt;
    auto bytes = takeText(kPageLimit);
    if (!bytes) return std::nullopt;
    return Page{numberOf(head.data() + 1), std::move(*baseUrl), std::move(*bytes)};
}

// Calls the plug-ins from the page's first on, each announced before the
// call, until one answers.
void answer(const LoadedPlugins &plugins, const Page &page) {
    for (size_t k = page.first; k < plugins.size(); ++k) {
        putHeader(kCalling, static_cast<uint32_t>(k));
        AnswerStream stream;
        if (plugins.call(k, page.baseUrl, page.bytes, stream.stream()) != 0) {
            putHeader(kAnswer, static_cast<uint32_t>(stream.bytes().size()));
            put(stream.bytes().data(), stream.bytes().size());
            return;
        }
    }
    putHeader(kNoAnswer, 0);
}

}  // namespace

int main(int argc, char **argv) {
    // Ends with the engine's thread that started it, even inside a plug-in
    // that never returns; has none of the engine's files open; leaves no
    // core file when a plug-in crashes.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    close_range(kChannel + 1, ~0U, 0);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    signal(SIGPIPE, SIG_IGN);
    const LoadedPlugins plugins(std::vector<std::string>(argv + 1, argv + argc));
    putHeader(kReady, static_cast<uint32_t>(plugins.size()));
    while (const std::optional<Page> page = takePage()) answer(plugins, *page);
    return 0;
}
