#include "StatusPage.h"

#include <vector>

#include "base/HtmlEscape.h"

namespace kiv {

namespace {

constexpr std::string_view kHead =
    "<html>\n<head>\n<style>\na:link     {font:8pt/11pt verdana; color:red}\na:visited  {font:8pt/11pt verdana; "
    "color:#4e4e4e}\n</style>\n</head>\n<SCRIPT language=JavaScript>\nfunction GoOnline()\n{\n\twindow.external."
    "GoOnline();\n\twindow.location.reload();\n}\n</SCRIPT>\n<body style=\"COLOR: black; FONT: 8pt/11pt verdana; "
    "background-color: white\">\n<table width=\"400\" cellpadding=\"3\" cellspacing=\"5\">\n<tr>\n<td align=\"left\" "
    "valign=\"middle\">\n<h1 style=\"COLOR: black; FONT: 13pt/15pt verdana\">\n";
constexpr std::string_view kAfterTitle = "</td></tr><tr><td><font style=\"COLOR: black; FONT: 8pt/11pt verdana\">\n";
constexpr std::string_view kAfterExplanation = "</font></td></tr>\n";
constexpr std::string_view kSuggestionsStart =
    "<td><font style=\"COLOR: black; FONT: 8pt/11pt verdana\"><hr color=\"#C0C0C0\" noshade><p>Please try the "
    "following:<ul>\n";
constexpr std::string_view kSuggestionsEnd = "</td></tr>\n";
constexpr std::string_view kEnd = "</table></body>\n</html>";

constexpr std::string_view kRefresh =
    "Click the <a href=\"javascript:location.reload()\">Refresh</a> button, or try again later. ";
constexpr std::string_view kCheckPing =
    "Check your <a href=\"javascript:window.external.CheckPing()\">Ping Settings</a>.";
constexpr std::string_view kGoOnlineQueued =
    "To download all queued resources, connect to the Internet and switch the program to <a "
    "href=javascript:GoOnline()> online mode</a>.";
constexpr std::string_view kChangeFilters =
    "Change your project filters and click the <a href=\"javascript:location.reload()\">Refresh</a> button. ";
constexpr std::string_view kRefreshEmpty =
    "Click the <a href=\"javascript:location.reload()\">Refresh </a>button, or try again later. ";
constexpr std::string_view kEnqueueFromBrowser =
    "Turn on the <a href=\"javascript:window.external.ShowProjectOptions(0)\">Enqueue From The Browser </a>mode in "
    "the project properties window and click <a href=\"javascript:location.reload()\">Refresh</a> button to load "
    "the page";
constexpr std::string_view kGoOnline =
    "Connect to the Internet and switch the program to <a href=\"javascript:GoOnline()\">online mode</a>.";
constexpr std::string_view kProxySettings =
    "Check your <a href=\"javascript:window.external.ShowProxySettings()\">Proxy Settings</a>.";
constexpr std::string_view kRefreshLater =
    "Click the <a href=\"javascript:location.reload()\">Refresh</a> button, or try again later.";

struct Status {
    std::string title;
    std::string explanation;
    std::vector<std::string> suggestions;
};

std::string removeFromQueue(uint32_t urlResId) {
    return "If you do not want to download the page, you can <a href=\"javascript:window.external.DeleteItem(" +
           std::to_string(urlResId) + ")\">remove it</a> from the queue.";
}

Status statusOf(int32_t kind, uint32_t urlResId, std::string_view address) {
    switch (static_cast<StatusKind>(kind)) {
        case StatusKind::InvalidUrl:
            return {"Invalid URL", "Please verify that specified URL exists and is correct.", {}};
        case StatusKind::TooManyRedirects:
            return {"Too many redirects", "The URL was redirected too many times.", {}};
        case StatusKind::NoConnection:
            return {"Internet connection is not available",
                    "The page you are looking for cannot be displayed now because Internet connection is not "
                    "available.",
                    {std::string(kRefresh), std::string(kCheckPing)}};
        case StatusKind::Queued:
            return {"The page is queued",
                    "The page you are looking for is not yet retrieved. The page is queued and belongs to a task "
                    "that is not yet finished. The page was queued either by the task, by a script on the previous "
                    "page, or because you have clicked on a link that was not found in the project database.",
                    {std::string(kGoOnlineQueued), removeFromQueue(urlResId)}};
        case StatusKind::NotAccepted:
            return {"The page was not accepted",
                    "The page you are looking for was not accepted by project filters. The URL of the page: " +
                        eng::escapeHtml(address),
                    {std::string(kChangeFilters)}};
        case StatusKind::EmptyPage:
            return {"The server returned an empty page",
                    "The file returned by the server contains no data. This might have been a temporary problem.",
                    {std::string(kRefreshEmpty)}};
        case StatusKind::NotAvailableOffline:
            return {"The page is not available offline",
                    "The page you are looking for was not found in the project database and you specifically "
                    "requested not to queue additional pages.",
                    {std::string(kEnqueueFromBrowser)}};
        case StatusKind::ServerUnreachable:
            return {"The server could not be reached",
                    "The page you are looking for was not retrieved because a connection to the server could not "
                    "be established.",
                    {std::string(kGoOnline), std::string(kProxySettings), std::string(kRefreshLater)}};
    }
    return {"Unknown error", "", {}};
}

}  // namespace

std::string statusPage(int32_t kind, uint32_t urlResId, std::string_view address) {
    const Status status = statusOf(kind, urlResId, address);
    std::string page(kHead);
    page += status.title;
    page += kAfterTitle;
    page += status.explanation;
    page += kAfterExplanation;
    if (!status.suggestions.empty()) {
        page += kSuggestionsStart;
        for (const std::string &suggestion : status.suggestions) page += "<li>\n" + suggestion;
        page += kSuggestionsEnd;
    }
    return page += kEnd;
}

}  // namespace kiv
