/*
 * libKiv: the handler of the "kiv:" scheme, through which a browser shows the
 * stored copy of a project. A browser adapter creates one handler per
 * request, starts it with the offline address, and takes what the handler
 * reports to its sink: a redirect, the MIME type, then all the data at once,
 * then the result. The handler runs each request on a worker thread of its
 * own, asks the engine (loaded in the same process) for the stored page,
 * waits while a queued page is downloaded, and delivers a status page when
 * there is no page to show. HTML and style sheets are delivered with every
 * link already combined into an absolute offline address.
 *
 * Results are HRESULT values. Texts are UTF-8.
 */
#ifndef KIV_H
#define KIV_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KIV_EXPORT __attribute__((visibility("default")))

#define KIV_S_OK 0
#define KIV_S_FALSE 1
#define KIV_E_FAIL ((int32_t)0x80004005)
#define KIV_E_INVALID_URL ((int32_t)0x800C0002)

/* Start flags. */
#define KIV_BIND_RESYNCHRONIZE 0x2000u /* the user's Refresh: fetch the page again when it failed */

/* What progress reports carry. */
#define KIV_STATUS_REDIRECTING 1u /* the offline address the page was really found under */
#define KIV_STATUS_MIMETYPE_AVAILABLE 2u
#define KIV_STATUS_STATUS_PAGE 3u /* the data is a status page of the library's own; the text is its kind */

/* Flags of the data report. */
#define KIV_DATA_LAST_NOTIFICATION 4u
#define KIV_DATA_FULLY_AVAILABLE 8u

/*
 * Where a handler reports, from its worker thread. The context is passed
 * back unchanged and must stay valid until Kiv_Terminate returns. After
 * Kiv_Abort nothing more is reported.
 */
typedef struct KivSink {
    void *context;
    void (*progress)(void *context, uint32_t status, const char *text);
    void (*data)(void *context, uint32_t flags, uint32_t progress, uint32_t maximum);
    void (*result)(void *context, int32_t result, uint32_t error);
} KivSink;

typedef struct KivHandler KivHandler;

/*
 * Binds the engine's functions from the engine library (its file name or
 * path; NULL for "libengine.so"). Returns 1 when bound, 0 when the library
 * or one of its functions cannot be found. Handlers need it first.
 */
KIV_EXPORT int32_t Kiv_Register(const char *engineLibrary);

/* A new handler, or NULL when the library is not registered. */
KIV_EXPORT KivHandler *Kiv_CreateHandler(void);
/* Terminates the handler and frees it. */
KIV_EXPORT void Kiv_ReleaseHandler(KivHandler *handler);

/*
 * Starts the request for an offline address. postData is the request body
 * of a POST (NULL otherwise). Returns KIV_E_INVALID_URL, without any report,
 * for a text that is no offline address; KIV_E_FAIL when a Refresh cannot
 * read the address's date; else KIV_S_OK, and the worker reports.
 */
KIV_EXPORT int32_t Kiv_Start(KivHandler *handler, const char *address, uint32_t flags, const void *postData,
                             uint32_t postLength, const KivSink *sink);
/* Reads delivered bytes: KIV_S_FALSE at the end of the data, else KIV_S_OK. */
KIV_EXPORT int32_t Kiv_Read(KivHandler *handler, void *buffer, uint32_t size, uint32_t *read);
/* Stops waiting for a queued page; waits for the worker when it was waiting. */
KIV_EXPORT int32_t Kiv_Abort(KivHandler *handler);
/* Waits for the worker to end and lets go of the sink and the data. */
KIV_EXPORT int32_t Kiv_Terminate(KivHandler *handler);

/*
 * Combines a link found in a page shown under the offline address base into
 * an offline address: links with a scheme other than http, https, ftp or
 * file (javascript:, mailto:) stay as they are, a fragment stays in place.
 * KIV_S_FALSE when the result (with its NUL) does not fit the buffer; length
 * gets the result's length in bytes either way. KIV_E_FAIL when base is no
 * offline address or the link cannot be combined.
 */
KIV_EXPORT int32_t Kiv_CombineUrl(const char *base, const char *relative, char *result, uint32_t size,
                                  uint32_t *length);

#ifdef __cplusplus
}
#endif

#endif
