#pragma once

#include <cstdint>
#include <string_view>

namespace eng {

// The Internet library's error numbers, which are the engine's download
// error codes whatever transport produced the failure. Named here are those
// that the engine tests for; every number in the range has its text.
inline constexpr uint32_t kInternetErrorFirst = 12000;
inline constexpr uint32_t kInternetErrorLast = 12171;

enum InternetError : uint32_t {
    kErrOutOfHandles = 12001,
    kErrTimeout = 12002,
    kErrExtendedError = 12003,
    kErrInternalError = 12004,
    kErrInvalidUrl = 12005,
    kErrUnrecognizedScheme = 12006,
    kErrNameNotResolved = 12007,
    kErrShutdown = 12012,
    kErrIncorrectPassword = 12014,
    kErrLoginFailure = 12015,
    kErrOperationCancelled = 12017,
    kErrIncorrectHandleType = 12018,
    kErrNotProxyRequest = 12020,
    kErrNoDirectAccess = 12023,
    kErrCannotConnect = 12029,
    kErrConnectionAborted = 12030,
    kErrConnectionReset = 12031,
    kErrInvalidProxyRequest = 12033,
    kErrInvalidCa = 12045,
    kErrSecureChannel = 12157,
};

// The engine's own text for an Internet library error number; empty when the
// number has none.
std::string_view internetErrorText(uint32_t code);

}  // namespace eng
