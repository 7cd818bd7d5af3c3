#pragma once

#include <string>
#include <string_view>

namespace eng {

struct DownloadRecord;

// The site that the credentials asked for after the record's challenge
// belong to, and are only ever sent to: for a proxy's challenge (status 407)
// "proxy " and the record's proxy; else "scheme://host:port" of the record's
// address, the host lower-cased and the port always written.
std::string authSite(const DownloadRecord &record);

// The Realm column of stored credentials for a site and realm: "#" and the
// unpadded base64url text of the SHA-256 digest of the site, a NUL and the
// realm. 44 characters, within the column's 50 whatever the lengths of site
// and realm, and the stored file names neither.
std::string storedAuthKey(std::string_view site, std::string_view realm);

// Whether a Realm column holds such a key. Rows that do not were stored for a
// realm alone, with no site.
bool isStoredAuthKey(std::string_view column);

}  // namespace eng
