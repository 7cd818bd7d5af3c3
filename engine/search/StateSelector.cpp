#include "search/StateSelector.h"

#include "engine.h"

namespace eng {

namespace {

std::string stateIs(int state) { return "(UrlRes.State=" + std::to_string(state) + ")"; }

}  // namespace

std::string stateCondition(int32_t selector) {
    const bool queued = selector & kSelectQueued;
    const bool withErrors = selector & kSelectWithErrors;
    const bool withoutErrors = selector & kSelectWithoutErrors;
    if (queued && withErrors && !withoutErrors)
        return "((" + stateIs(ENG_STATE_DONE) + " AND (UrlRes.Error <> 0)) OR " + stateIs(ENG_STATE_QUEUED) + ")";
    const int first = queued ? ENG_STATE_QUEUED : 0;
    const int second = withErrors || withoutErrors ? ENG_STATE_DONE : queued ? ENG_STATE_SUSPENDED : 0;
    std::string errors;
    if (withErrors && !withoutErrors) errors = "(UrlRes.Error <> 0) AND ";
    if (withoutErrors && !withErrors) errors = "(UrlRes.Error = 0) AND ";
    return errors + "(" + stateIs(first) + " OR " + stateIs(second) + ")";
}

}  // namespace eng
