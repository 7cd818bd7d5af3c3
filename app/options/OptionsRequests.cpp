#include "OptionsRequests.h"

OptionsRequests &OptionsRequests::instance() {
    static OptionsRequests requests;
    return requests;
}
