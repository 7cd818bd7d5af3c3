#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "sys/PromptCancel.h"

namespace eng {

struct DownloadRecord;

// Asks for credentials for the realm in the record, on the worker thread that
// met the challenge: true when the record's user name and password should be
// tried (retry counts the attempts already made). An abort of the job closes
// an open prompt through `cancel`. Without a prompt every challenge is
// refused.
using CredentialsPrompt =
    std::function<bool(DownloadRecord &record, uint32_t retry, const std::string &server, PromptCancel &cancel)>;

}  // namespace eng
