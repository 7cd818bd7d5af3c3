#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "sys/Credentials.h"
#include "sys/UiHost.h"

namespace eng {

class CAuthTable;
struct DownloadRecord;
class PromptCancel;

// The credentials typed during a project's life, shared by all its download
// jobs, each kept for the site it was typed for (authSite) and the realm of
// the challenge, and only ever sent to that site. The credentials lock guards
// every read and write of the entries; the prompt lock lets one job ask at a
// time, so that jobs meeting the same challenge queue behind one prompt and
// reuse its answer.
//
// Stored rows carry storedAuthKey(site, realm) as their realm. A row of an
// older file, stored for its realm alone, is never sent by itself: it only
// fills the prompt for that realm, which shows the site the answer goes to.
class AuthCache {
public:
    // Shows the prompt and waits for it: the typed credentials, or nothing
    // for Cancel.
    using Dialog = std::function<std::optional<Credentials>(const CredentialsQuestion &, PromptCancel &)>;

    explicit AuthCache(Dialog dialog) : dialog_(std::move(dialog)) {}

    // After a challenge whose realm is in the record (retry counts the
    // attempts made): true with the credentials to try in the record, false
    // to stop. The first challenge takes known credentials without asking;
    // a later 401 or 407 drops them as failed and asks. A Cancel (or an
    // abort through `cancel`) is remembered as refused, which stops the jobs
    // queued for the same challenge.
    bool ask(DownloadRecord &record, uint32_t retry, PromptCancel &cancel);

    // Reads every stored row.
    void load(CAuthTable &table);
    // Writes every entry that was not refused and has a realm, user name and
    // password cut to 50 bytes; rows of entries dropped meanwhile stay.
    void save(CAuthTable &table);

private:
    struct Key {
        std::string site;
        std::string realm;
        auto operator<=>(const Key &) const = default;
    };
    struct Entry {
        Credentials credentials;
        bool refused = false;
    };

    // Under the credentials lock: the entry for the key, taken from the
    // stored rows on first use.
    std::optional<Entry> find(const Key &key);
    void forget(const Key &key);
    // What the prompt shows: the site as authSite names it, since that is
    // where the answer will be sent.
    CredentialsQuestion question(const DownloadRecord &record, std::string site);

    Dialog dialog_;
    std::mutex credentialsLock_;
    std::mutex promptLock_;
    std::map<Key, Entry> entries_;
    // Stored rows not met yet, by their stored key.
    std::map<std::string, Credentials> stored_;
    // Rows of older files by realm: they only fill the prompt.
    std::map<std::string, Credentials> realmOnly_;
};

}  // namespace eng
