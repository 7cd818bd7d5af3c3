#pragma once

#include <curl/curl.h>

namespace eng {

// The process's curl library, initialised on first use, and the data that
// every transfer shares across threads: resolved host names and TLS sessions.
CURLSH *sharedCurlData();

}  // namespace eng
