#include "store/ProjectProperties.h"

#include <algorithm>

#include "base/EngineException.h"

namespace eng {

namespace {
// Proxy entries are parsed in a 1024-byte buffer: longer ones are cut.
constexpr size_t kMaxProxyEntry = 1023;
}  // namespace

ProxyEntry ProxyEntry::parse(std::string_view entry) {
    entry = entry.substr(0, std::min(entry.size(), kMaxProxyEntry));
    std::vector<std::string> parts;
    for (size_t start = 0; start < entry.size() && parts.size() < 4;) {
        const size_t end = std::min(entry.find(':', start), entry.size());
        if (end > start) parts.emplace_back(entry.substr(start, end - start));
        start = end + 1;
    }
    parts.resize(4);
    ProxyEntry proxy{parts[0], parts[2], parts[3]};
    if (!parts[1].empty()) proxy.host += ":" + parts[1];
    return proxy;
}

ProjectProperties::ProjectProperties(CProjectTable &project, CStrTable &strings)
    : note(strings, StringKind::Note),
      userText(strings, StringKind::UserText),
      filter(strings, StringKind::Filter),
      project_(project) {}

void ProjectProperties::load() {
    auto row = project_.load();
    if (!row) return;
    optionFlags = row->optionsFlags;
    onlineTime = row->onlineTime;
    storedNote_ = row->noteId;
    storedUserText_ = row->usrData;
    storedFilter_ = row->prjFilterId;
    note.setKey(storedNote_);
    userText.setKey(storedUserText_);
    filter.setKey(storedFilter_);
}

void ProjectProperties::save() {
    ProjectRow row;
    auto stored = project_.load();
    if (stored) {
        row = *stored;
        storedNote_ = note.replaceStored(row.noteId);
        storedUserText_ = userText.replaceStored(row.usrData);
        storedFilter_ = filter.replaceStored(row.prjFilterId);
    } else {
        storedNote_ = note.key();
        storedUserText_ = userText.key();
        storedFilter_ = filter.key();
    }
    row.noteId = storedNote_;
    row.usrData = storedUserText_;
    row.prjFilterId = storedFilter_;
    row.onlineTime = onlineTime;
    row.optionsFlags = optionFlags;
    if (stored)
        project_.save(row);
    else
        project_.add(row);
}

void ProjectProperties::set(const PropertiesInput &input) {
    ProxyEntry http, ftp;
    if (input.proxyAccess == kNamedProxies) {
        http = ProxyEntry::parse(input.httpProxy);
        ftp = ProxyEntry::parse(input.ftpProxy);
        if (http.host.empty() || ftp.host.empty()) throw CEngineException("You must specify both proxy servers!");
    }
    optionFlags = input.optionFlags;
    timeout = std::min(input.timeout, kMaxTimeout);
    pause = std::min(input.pause, kMaxPause);
    maxConnections = std::min(input.maxConnections, kMaxConnections);
    maxPerServer = std::min(input.maxPerServer, kMaxPerServer);
    retries = std::min(input.retries, kMaxRetries);
    note.setText(input.note);
    userText.setText(input.userText);
    proxyAccess = input.proxyAccess;
    httpProxy = http;
    ftpProxy = ftp;
    filter.setText(input.filter);
    save();
}

}  // namespace eng
