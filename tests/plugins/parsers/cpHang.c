/* A parser plug-in that never returns. */
#include <unistd.h>

#include "lark_parser.h"

int CustomParserProc(const char *baseUrl, const uint8_t *page, uint32_t length, LarkStream *answer) {
    for (;;) pause();
}
