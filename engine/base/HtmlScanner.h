#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace eng {

// How much of a fetched page its links, title and refresh are taken from: a
// page is scanned in memory, so a larger one (they are rare) is scanned only
// this far.
inline constexpr size_t kPageScanLimit = 8 << 20;

// A link found in a page: its kind (the link kinds of stored links) and its
// absolute, canonical address.
struct PageLink {
    int kind = 0;
    std::string url;
};

// Where a link's value stands in the page, as written (without quotes), and
// what it reads as: the absolute address it resolves to and the fragment
// written after it ("#top", decoded; empty when there is none). An applet's
// codebase value has kind kCodebaseSpot and the address of the applet's
// folder, ending in '/'.
inline constexpr int kCodebaseSpot = -1;
struct LinkSpot {
    int kind = 0;
    size_t offset = 0;
    size_t length = 0;
    std::string url;
    std::string fragment;
};

struct PageLinks {
    std::vector<PageLink> links;  // each kind and address once
    std::vector<LinkSpot> spots;  // every occurrence, by offset
};

// The links of a page, scanned from its raw bytes without building a tree:
// style sheets, the refresh target, then the tag table's links in document
// order, each read in the page's charset (as iconv names it; empty for UTF-8)
// and resolved against the base address. Broken markup ends the scan with
// what was found.
PageLinks extractLinks(std::string_view base, std::string_view page, std::string_view charset = {});

// The page's BASE tag: where it starts, its length with "<" and ">", and its href.
struct BaseTag {
    size_t offset = 0;
    size_t length = 0;
    std::string href;
};
std::optional<BaseTag> findBase(std::string_view page);

// The address a META refresh leads to, resolved; empty when there is none.
std::string refreshTarget(std::string_view base, std::string_view page);

// The seconds a META refresh waits: the whole number its content starts
// with (0 when it starts with none); nothing when the page has no refresh.
std::optional<unsigned long> refreshDelay(std::string_view page);

// The page's title as UTF-8 (character references decoded, recoded from the
// page's charset: the one its content type names, else its META's, in any
// charset iconv knows); empty when it has none.
std::string pageTitle(std::string_view page, std::string_view contentType);

// The address a page's links are resolved against: its BASE href when it
// has one, else its own address.
std::string linkBase(std::string_view pageUrl, std::string_view page);

}  // namespace eng
