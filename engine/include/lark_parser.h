/*
 * Parser plug-ins: libraries that find links the engine's own page scanner
 * does not see (in scripts, in formats other than HTML).
 *
 * A plug-in is a shared library named "cp*.so" in the "Parsers" folder beside
 * libengine.so that exports CustomParserProc. The engine offers every stored
 * page to the plug-ins in the order of their file names; the first that
 * answers non-zero gives the page's further links. Plug-ins run in a helper
 * process of the engine, one call at a time: a plug-in that crashes or does
 * not return within a few seconds counts as having no answer for the page,
 * and the next plug-in is asked.
 *
 * The answer is a sequence of records, each made of
 *   the link's absolute URL, NUL-terminated (a fragment is cut off),
 *   its post data, NUL-terminated (empty for a plain link),
 *   one byte: the link's kind (ENG_LINK_* of engine.h, or a value of its own),
 * written to the answer stream from its start. A record cut short by the
 * answer's end is dropped; a record whose URL is not an http, https, ftp or
 * file address is skipped.
 */
#ifndef LARK_PARSER_H
#define LARK_PARSER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A growable stream that the plug-in appends its answer to. */
typedef struct LarkStream {
    void *context; /* the engine's; not to be touched */
    /* Appends the bytes and returns how many were taken: fewer than count
     * once the answer reaches its size limit (16 MiB). */
    uint32_t (*write)(struct LarkStream *self, const void *bytes, uint32_t count);
} LarkStream;

/* The entry point each plug-in exports, called with the page's base URL (the
 * address its links are relative to), its bytes and their number, and an
 * empty answer stream. Returns non-zero when it has written links. */
typedef int (*LarkCustomParserProc)(const char *baseUrl, const uint8_t *page, uint32_t length, LarkStream *answer);

/* Declared visible, so that a plug-in built with hidden symbols still exports it. */
__attribute__((visibility("default"))) int CustomParserProc(const char *baseUrl, const uint8_t *page, uint32_t length,
                                                            LarkStream *answer);

#ifdef __cplusplus
}
#endif

#endif /* LARK_PARSER_H */
