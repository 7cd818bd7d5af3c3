/* A parser plug-in that writes through a null pointer. */
#include "lark_parser.h"

int CustomParserProc(const char *baseUrl, const uint8_t *page, uint32_t length, LarkStream *answer) {
    answer->write(answer, "http://crash.test/\0\0", 21);
    *(volatile int *)0 = 1;
    return 1;
}
