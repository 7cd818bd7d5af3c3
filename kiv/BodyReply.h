#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kiv {

// The engine's answer to a request for a stored page: a status kind (0 for
// a page) with the main-page flag, and either the URL resource the status
// names or the page: its final address (empty unless redirects were
// followed), content type and body, or the token to wait on while it is
// fetched.
struct BodyReply {
    uint32_t status = 0;
    bool mainPage = false;
    uint32_t urlResId = 0;
    std::string finalAddress;
    std::string contentType;
    std::string body;
    uint32_t waitToken = 0;

    // Reads a reply record; nothing when it is cut short.
    static std::optional<BodyReply> parse(std::span<const uint8_t> record);
};

}  // namespace kiv
