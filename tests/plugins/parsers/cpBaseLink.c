/* A parser plug-in that answers every page with one link: its base URL
 * with the fragment "#seen", posting "plugin=base", of kind refresh. */
#include <string.h>

#include "engine.h"
#include "lark_parser.h"

int CustomParserProc(const char *baseUrl, const uint8_t *page, uint32_t length, LarkStream *answer) {
    static const char rest[] = "#seen\0plugin=base";
    const uint8_t kind = ENG_LINK_REFRESH;
    answer->write(answer, baseUrl, (uint32_t)strlen(baseUrl));
    answer->write(answer, rest, sizeof rest);
    answer->write(answer, &kind, 1);
    return 1;
}
