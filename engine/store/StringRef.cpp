#include "store/StringRef.h"

namespace eng {

namespace {
std::string trimmed(std::string text) {
    const char *space = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(space);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}
}  // namespace

const std::string &StringRef::text() {
    if (text_.empty() && key_ != 0) text_ = table_->textOf(key_);
    return text_;
}

void StringRef::setText(std::string text) {
    text_ = kind_ == StringKind::Url || kind_ == StringKind::FormData ? std::move(text) : trimmed(std::move(text));
    key_ = 0;
}

uint32_t StringRef::key() {
    if (key_ == 0 && !text_.empty()) key_ = table_->intern(text_, kind_, true);
    return key_;
}

void StringRef::setKey(uint32_t key) {
    key_ = key;
    text_.clear();
}

uint32_t StringRef::replaceStored(uint32_t storedKey) {
    const uint32_t now = key();
    if (now != storedKey) {
        table_->addReference(now);
        table_->release(storedKey);
    }
    return now;
}

}  // namespace eng
