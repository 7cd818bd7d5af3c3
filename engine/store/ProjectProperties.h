#pragma once

#include <cstdint>
#include <string>

#include "base/DateTime.h"
#include "store/CProjectTable.h"
#include "store/StringRef.h"

namespace eng {

// A proxy server as the properties hold it: the host text (host name, or
// host name and port joined by ":") and the credentials for it.
struct ProxyEntry {
    std::string host;
    std::string userName;
    std::string password;

    // Parses "host[:port[:user[:password]]]"; runs of ":" count as one, and
    // parts beyond the fourth are ignored.
    static ProxyEntry parse(std::string_view entry);
};

// The values the application gives with each properties call.
struct PropertiesInput {
    uint32_t optionFlags = 0;
    uint16_t timeout = 0;
    uint16_t pause = 0;
    uint16_t maxConnections = 0;
    uint16_t maxPerServer = 0;
    uint16_t retries = 0;
    std::string note;
    std::string filter;
    std::string userText;
    uint32_t proxyAccess = 0;
    std::string httpProxy;  // read only with proxy access 3
    std::string ftpProxy;
};

// The open project's properties: the option bits, note, user text, filter and
// online time are stored in the Project row; the connection limits and proxy
// settings live in memory, from their defaults at each open until the
// application sets them.
class ProjectProperties {
public:
    static constexpr uint32_t kNamedProxies = 3;
    static constexpr uint16_t kMaxTimeout = 600;
    static constexpr uint16_t kMaxPause = 60;
    static constexpr uint16_t kMaxConnections = 100;
    static constexpr uint16_t kMaxPerServer = 10;
    static constexpr uint16_t kMaxRetries = 100;

    ProjectProperties(CProjectTable &project, CStrTable &strings);

    // Reads the stored part from the Project row (defaults when it is missing).
    void load();
    // Writes the stored part, moving string references to the new texts.
    void save();
    // Replaces every value from the application's input and saves. A named-
    // proxy setting without both servers is refused before anything changes.
    void set(const PropertiesInput &input);

    uint32_t optionFlags = 0;
    uint16_t timeout = 120;
    uint16_t pause = 0;
    uint16_t maxConnections = 5;
    uint16_t maxPerServer = 2;
    uint16_t retries = 0;
    Date onlineTime = 0;
    StringRef note;
    StringRef userText;
    StringRef filter;
    uint32_t proxyAccess = 0;
    ProxyEntry httpProxy;
    ProxyEntry ftpProxy;

private:
    CProjectTable &project_;
    uint32_t storedNote_ = 0;
    uint32_t storedUserText_ = 0;
    uint32_t storedFilter_ = 0;
};

}  // namespace eng
