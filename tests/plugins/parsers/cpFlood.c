/* A parser plug-in that writes one record after another until the answer
 * stream takes no more; it answers only when the stream has refused bytes. */
#include <stdlib.h>
#include <string.h>

#include "lark_parser.h"

int CustomParserProc(const char *baseUrl, const uint8_t *page, uint32_t length, LarkStream *answer) {
    static const char record[] = "http://h.test/flood\0";
    enum { kBlock = 1 << 20 };
    char *block = malloc(kBlock);
    for (size_t at = 0; at < kBlock; ++at) block[at] = record[at % sizeof record];
    int refused = 0;
    for (int k = 0; k < 32 && !refused; ++k) refused = answer->write(answer, block, kBlock) < kBlock;
    free(block);
    return refused;
}
