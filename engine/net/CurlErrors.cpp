#include "net/CurlErrors.h"

#include "sys/InternetErrors.h"

namespace eng {

uint32_t internetErrorOf(CURLcode code) {
    switch (code) {
        case CURLE_OK:
            return 0;
        case CURLE_UNSUPPORTED_PROTOCOL:
            return kErrUnrecognizedScheme;
        case CURLE_URL_MALFORMAT:
            return kErrInvalidUrl;
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_RESOLVE_HOST:
            return kErrNameNotResolved;
        case CURLE_COULDNT_CONNECT:
            return kErrCannotConnect;
        case CURLE_OPERATION_TIMEDOUT:
            return kErrTimeout;
        case CURLE_ABORTED_BY_CALLBACK:
            return kErrOperationCancelled;
        case CURLE_OUT_OF_MEMORY:
            return kErrOutOfHandles;
        case CURLE_LOGIN_DENIED:
            return kErrLoginFailure;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
            return kErrInvalidCa;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_USE_SSL_FAILED:
            return kErrSecureChannel;
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
            return kErrConnectionAborted;
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
            return kErrConnectionReset;
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_FTP_WEIRD_PASS_REPLY:
        case CURLE_FTP_WEIRD_PASV_REPLY:
        case CURLE_FTP_WEIRD_227_FORMAT:
        case CURLE_FTP_CANT_GET_HOST:
        case CURLE_FTP_COULDNT_SET_TYPE:
        case CURLE_FTP_COULDNT_RETR_FILE:
        case CURLE_FTP_PORT_FAILED:
        case CURLE_FTP_COULDNT_USE_REST:
        case CURLE_QUOTE_ERROR:
        case CURLE_REMOTE_ACCESS_DENIED:
        case CURLE_REMOTE_FILE_NOT_FOUND:
            return kErrExtendedError;
        default:
            return kErrInternalError;
    }
}

}  // namespace eng
