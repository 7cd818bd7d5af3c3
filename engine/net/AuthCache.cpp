#include "net/AuthCache.h"

#include "base/Url.h"
#include "net/AuthSite.h"
#include "net/DownloadRecord.h"
#include "store/CAuthTable.h"

namespace eng {

namespace {

// A server's 401 over HTTP asks for the user kind; a proxy's 407 and an FTP
// login (directly or through a proxy) for the proxy kind.
uint32_t promptKind(const DownloadRecord &record) {
    const auto parts = url::split(record.url);
    const bool web = parts && (parts->kind == url::SchemeKind::Http || parts->kind == url::SchemeKind::Https);
    return record.statusCode == 401 && web ? ENG_PROMPT_SERVER : ENG_PROMPT_PROXY;
}

void take(DownloadRecord &record, const Credentials &credentials) {
    record.userName = credentials.userName;
    record.password = credentials.password;
}

}  // namespace

bool AuthCache::ask(DownloadRecord &record, uint32_t retry, PromptCancel &cancel) {
    const Key key{authSite(record), record.realm};
    if (retry == 0) {
        std::lock_guard lock(credentialsLock_);
        if (auto known = find(key); known && !known->refused) {
            take(record, known->credentials);
            return true;
        }
        entries_.erase(key);  // a refusal stops only the downloads that met it then
    } else if (record.statusCode == 401 || record.statusCode == 407) {
        forget(key);
    }

    std::lock_guard prompting(promptLock_);
    {
        std::lock_guard lock(credentialsLock_);
        if (auto known = find(key)) {
            take(record, known->credentials);
            return !known->refused;
        }
    }
    const std::optional<Credentials> typed = dialog_(question(record, key.site), cancel);
    if (typed) take(record, *typed);
    record.credentialsRefused = !typed;
    std::lock_guard lock(credentialsLock_);
    entries_[key] = Entry{{record.userName, record.password}, record.credentialsRefused};
    return typed.has_value();
}

CredentialsQuestion AuthCache::question(const DownloadRecord &record, std::string site) {
    CredentialsQuestion asked{
        .kind = promptKind(record),
        .site = std::move(site),
        .realm = record.realm,
        .prefill = std::nullopt,
    };
    std::lock_guard lock(credentialsLock_);
    if (auto older = realmOnly_.find(record.realm); older != realmOnly_.end()) asked.prefill = older->second;
    return asked;
}

std::optional<AuthCache::Entry> AuthCache::find(const Key &key) {
    if (auto found = entries_.find(key); found != entries_.end()) return found->second;
    const auto stored = stored_.find(storedAuthKey(key.site, key.realm));
    if (stored == stored_.end()) return std::nullopt;
    const Entry entry{stored->second, false};
    entries_[key] = entry;
    stored_.erase(stored);
    return entry;
}

void AuthCache::forget(const Key &key) {
    std::lock_guard lock(credentialsLock_);
    entries_.erase(key);
    stored_.erase(storedAuthKey(key.site, key.realm));
}

void AuthCache::load(CAuthTable &table) {
    std::lock_guard lock(credentialsLock_);
    for (AuthRow &row : table.all()) {
        auto &into = isStoredAuthKey(row.realm) ? stored_ : realmOnly_;
        into[row.realm] = Credentials{std::move(row.userName), std::move(row.password)};
    }
}

void AuthCache::save(CAuthTable &table) {
    std::lock_guard lock(credentialsLock_);
    for (const auto &[key, entry] : entries_) {
        if (key.realm.empty() || entry.refused) continue;
        AuthRow row{storedAuthKey(key.site, key.realm), entry.credentials.userName, entry.credentials.password};
        if (table.find(row.realm))
            table.edit(row);
        else
            table.add(row);
    }
}

}  // namespace eng
