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

// How a link's value is written, and so how it is read and how a value put
// in its place must be written: an attribute value (character references),
// a value in a style sheet or STYLE element (CSS escapes), or a value in a
// style attribute (CSS inside an attribute: both).
enum class LinkSyntax { Attribute, StyleSheet, StyleAttribute };

// Where a link's value stands in the page, as written (without quotes), and
// what it reads as: the absolute address it resolves to and the fragment
// written after it ("#top", decoded; empty when there is none). An applet's
// codebase value has kind kCodebaseSpot and the address of the applet's
// folder, ending in '/'. Each candidate of a srcset list has a spot of its
// own, covering its address only.
inline constexpr int kCodebaseSpot = -1;
struct LinkSpot {
    int kind = 0;
    size_t offset = 0;
    size_t length = 0;
    std::string url;
    std::string fragment;
    LinkSyntax syntax = LinkSyntax::Attribute;
};

struct PageLinks {
    std::vector<PageLink> links;  // each kind and address once
    std::vector<LinkSpot> spots;  // every occurrence, by offset
};

// The links of a page, scanned from its raw bytes without building a tree:
// style sheets, the refresh target, then in document order the tag table's
// links and the other references a browser follows, each read in the page's
// charset (as iconv names it; empty for UTF-8) and resolved against the base
// address. Those others are:
// - url(...) and @import values of STYLE elements and style attributes
//   (ENG_LINK_BACKGROUND; ENG_LINK_STYLESHEET for an import);
// - every candidate of an img or source srcset (descriptors dropped) and a
//   video's poster (ENG_LINK_IMAGE);
// - the src of a source (by the picture, video or audio it stands in: image,
//   ENG_LINK_EMBED or ENG_LINK_SOUND), of a video or track (ENG_LINK_EMBED),
//   of an audio (ENG_LINK_SOUND), and an object's data (ENG_LINK_EMBED);
// - the href of a link whose rel names an icon (ENG_LINK_IMAGE), a
//   modulepreload (ENG_LINK_SCRIPT), a manifest (ENG_LINK_EMBED) or a preload
//   (by its "as": style sheet, script, image, else ENG_LINK_EMBED).
// Tags inside a script block or a STYLE element yield nothing, and a tag that
// starts inside the text of the tag before ("<p title='<img srcset=x>'>")
// yields only the tag table's links. Broken markup ends the scan with what
// was found.
PageLinks extractLinks(std::string_view base, std::string_view page, std::string_view charset = {});

// The links of a style sheet (a text/css body): its url(...) values
// (ENG_LINK_BACKGROUND) and @import rules (ENG_LINK_STYLESHEET), read in its
// charset and resolved against its own address.
PageLinks extractStyleSheetLinks(std::string_view base, std::string_view css, std::string_view charset);

// The links of a stored body by its content type: a style sheet's, in its
// charset against its own address; else a page's, in its charset against
// its linkBase.
PageLinks extractBodyLinks(std::string_view url, std::string_view body, std::string_view contentType);

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

// Whether a content type names an HTML page ("text/html", with or without
// parameters).
inline bool isHtmlType(std::string_view contentType) { return contentType.starts_with("text/html"); }

// The address a page's links are resolved against: its BASE href when it
// has one, else its own address.
std::string linkBase(std::string_view pageUrl, std::string_view page);

}  // namespace eng
