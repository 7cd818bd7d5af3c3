#include "support/UiHostRecorder.h"

namespace test {

UiHostRecorder::UiHostRecorder() {
    EngUiHost host{};
    host.context = this;
    host.messageBox = &UiHostRecorder::messageBox;
    Eng_SetUiHost(&host);
}

UiHostRecorder::~UiHostRecorder() { Eng_SetUiHost(nullptr); }

void UiHostRecorder::messageBox(void *context, const char *caption, const char *text, uint32_t flags) {
    auto *self = static_cast<UiHostRecorder *>(context);
    std::lock_guard lock(self->mutex_);
    self->messages_.push_back({caption, text, flags});
}

std::vector<ShownMessage> UiHostRecorder::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

void UiHostRecorder::clear() {
    std::lock_guard lock(mutex_);
    messages_.clear();
}

}  // namespace test
