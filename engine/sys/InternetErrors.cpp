#include "sys/InternetErrors.h"

#include <algorithm>
#include <iterator>

namespace eng {

namespace {

struct Entry {
    uint32_t code;
    std::string_view text;
};

// Sorted by code.
constexpr Entry kTexts[] = {
    {12001, "No more handles could be generated at this time."},
    {12002, "The operation timed out."},
    {12003, "An extended error was returned from the server."},
    {12004, "An internal error occurred."},
    {12005, "The URL is invalid."},
    {12006, "The URL does not use a recognized protocol."},
    {12007, "The server name or address could not be resolved."},
    {12008, "A protocol with the required capabilities was not found."},
    {12009, "The option is invalid."},
    {12010, "The length is incorrect for the option type."},
    {12011, "The option value cannot be set."},
    {12012, "The Internet support is being shut down or unloaded."},
    {12013,
     "The request to connect and log on to an FTP server could not be completed because the supplied user name is "
     "incorrect."},
    {12014,
     "The request to connect and log on to an FTP server could not be completed because the supplied password is "
     "incorrect."},
    {12015, "The request to connect to and log on to an FTP server failed."},
    {12016, "The operation is invalid."},
    {12017, "The operation has been canceled."},
    {12018, "The type of handle supplied is incorrect for this operation."},
    {12019, "The handle is in the wrong state for the requested operation."},
    {12020, "The request cannot be made on a proxy."},
    {12021, "A required setting could not be found."},
    {12022, "A required setting has an invalid value."},
    {12023, "Direct network access cannot be made at this time."},
    {12024, "No context value was supplied."},
    {12025, "No status callback was supplied."},
    {12026, "There are outstanding requests."},
    {12027, "The information format is incorrect."},
    {12028, "The requested item could not be found."},
    {12029, "A connection with the server could not be established."},
    {12030, "The connection with the server was terminated abnormally."},
    {12031, "The connection with the server was reset."},
    {12032, "The action must be retried."},
    {12033, "The proxy request is invalid."},
    {12034, "User interaction is required to complete the operation."},
    {12036, "The handle already exists."},
    {12037, "The date in the certificate is invalid or has expired."},
    {12038, "The host name in the certificate is invalid or does not match."},
    {12039, "A redirect request will change a non-secure to a secure connection."},
    {12040, "A redirect request will change a secure to a non-secure connection."},
    {12041, "Mixed secure and non-secure connections."},
    {12042, "Changing to non-secure post."},
    {12043, "Data is being posted on a non-secure connection."},
    {12044, "A certificate is required to complete client authentication."},
    {12045, "The certificate authority is invalid or incorrect."},
    {12046, "Client authentication has not been correctly installed."},
    {12047, "An error has occurred in a worker thread."},
    {12048, "The redirect changes the protocol."},
    {12049, "A dialog is pending."},
    {12050, "The request must be retried after a dialog."},
    {12052, "The redirect would submit data from a secure to a non-secure connection."},
    {12053, "Insert the disc that holds the requested data."},
    {12055, "The certificate has errors."},
    {12056, "The certificate revocation could not be checked."},
    {12057, "The certificate revocation check failed."},
    {12110, "Another transfer is already in progress on this FTP connection."},
    {12111, "The FTP operation was not completed because the session was aborted."},
    {12112, "Passive mode is not available on the FTP server."},
    {12150, "The requested header could not be located."},
    {12151, "The server did not return any headers."},
    {12152, "The server response could not be parsed."},
    {12153, "The supplied header is invalid."},
    {12154, "The request made to query the header is invalid."},
    {12155, "The header could not be added because it already exists."},
    {12156, "The redirection failed."},
    {12157, "An error occurred in the secure channel support."},
    {12158, "The file could not be written to the cache."},
    {12159, "The TCP/IP protocol is not installed properly."},
    {12160, "The request was not redirected."},
    {12161, "A cookie from the server must be confirmed."},
    {12162, "A cookie from the server was declined."},
    {12163, "The Internet connection has been lost."},
    {12164, "The web site or server is not reachable."},
    {12165, "The designated proxy server cannot be reached."},
    {12166, "There was an error in the automatic proxy configuration script."},
    {12167, "The automatic proxy configuration script could not be downloaded."},
    {12168, "The redirection requires user confirmation."},
    {12169, "The certificate is invalid."},
    {12170, "The certificate has been revoked."},
    {12171, "The operation failed a security check."},
};

}  // namespace

std::string_view internetErrorText(uint32_t code) {
    auto it = std::lower_bound(std::begin(kTexts), std::end(kTexts), code,
                               [](const Entry &e, uint32_t c) { return e.code < c; });
    if (it == std::end(kTexts) || it->code != code) return {};
    return it->text;
}

}  // namespace eng
