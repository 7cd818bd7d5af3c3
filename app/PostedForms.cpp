#include "PostedForms.h"

#include <algorithm>
#include <utility>

PostedForms &PostedForms::instance() {
    static PostedForms forms;
    return forms;
}

bool PostedForms::remember(const QString &address, QByteArray body) {
    if (body.size() > kMaxBody) return false;
    std::erase_if(forms_, [&](const auto &form) { return form.first == address; });
    forms_.emplace_front(address, std::move(body));
    if (forms_.size() > kMaxForms) forms_.pop_back();
    return true;
}

QByteArray PostedForms::bodyFor(const QString &address) const {
    const auto form =
        std::find_if(forms_.begin(), forms_.end(), [&](const auto &kept) { return kept.first == address; });
    return form == forms_.end() ? QByteArray() : form->second;
}

bool PostedForms::openWith(const QString &address, QByteArray body) {
    if (body.size() > kMaxBody) return false;
    opened_ = {address, std::move(body)};
    return true;
}

QByteArray PostedForms::takeOpened(const QString &address) {
    if (opened_.first != address) return {};
    return std::exchange(opened_, {}).second;
}
