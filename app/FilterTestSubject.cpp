#include "FilterTestSubject.h"

#include <array>

#include "engine.h"

FilterTestSubject &FilterTestSubject::instance() {
    static FilterTestSubject subject;
    return subject;
}

void FilterTestSubject::chooseKind(int choice) {
    // Links, images, embedded objects, and dynamic objects: the requests a page
    // made while it was shown are stored with the table header's background kind.
    constexpr std::array kKinds{ENG_LINK_HYPERLINK, ENG_LINK_IMAGE, ENG_LINK_EMBED, ENG_LINK_HEADER_BACKGROUND};
    if (choice >= 0 && choice < static_cast<int>(kKinds.size())) kind_ = kKinds[static_cast<size_t>(choice)];
}
