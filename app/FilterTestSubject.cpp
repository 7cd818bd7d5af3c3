#include "FilterTestSubject.h"

#include <array>

FilterTestSubject &FilterTestSubject::instance() {
    static FilterTestSubject subject;
    return subject;
}

void FilterTestSubject::chooseKind(int choice) {
    // Link kinds: a hyperlink, an image, an embedded object, a script's request.
    constexpr std::array kKinds{0, 1, 9, 14};
    if (choice >= 0 && choice < static_cast<int>(kKinds.size())) kind_ = kKinds[static_cast<size_t>(choice)];
}
