#include "core/Dispatcher.h"

#include <exception>
#include <string>

#include "core/CallFrame.h"
#include "core/Engine.h"
#include "store/Database.h"
#include "sys/Event.h"
#include "sys/UiHost.h"

namespace eng {

namespace {
constexpr size_t kMaxErrorText = 255;
}  // namespace

std::string errorMessageText(const char *what) {
    std::string text = what ? what : "";
    if (text.empty()) return "Unknown error occured.";
    if (text.size() > kMaxErrorText) text.resize(kMaxErrorText);
    return text;
}

std::string currentErrorText() {
    try {
        throw;
    } catch (const std::exception &e) {
        return errorMessageText(e.what());
    } catch (...) {
        return errorMessageText(nullptr);
    }
}

Dispatcher::Dispatcher(Engine &engine, CommandTable table) : engine_(engine), table_(std::move(table)) {}

intptr_t Dispatcher::run(const CommandEntry &entry, DispatchContext &context) {
    Database &db = engine_.database();
    intptr_t result = 0;
    {
        Transaction transaction(db);
        if (entry.phase == CommandEntry::Phase::InTransaction) result = entry.handler(context);
        transaction.commit();
    }
    if (entry.phase == CommandEntry::Phase::AfterCommit) result = entry.handler(context);
    return result;
}

intptr_t Dispatcher::dispatch(const Message &message) {
    const CommandEntry *entry = table_.find(message.msg);
    if (!entry) return 0;
    const uint32_t outer = engine_.currentMessage();
    engine_.setCurrentMessage(message.msg);

    CallFrame *frame =
        entry->frame == CommandEntry::Frame::InLParam ? reinterpret_cast<CallFrame *>(message.lParam) : nullptr;
    DispatchContext context{engine_, message, frame};
    intptr_t result = 0;
    try {
        result = run(*entry, context);
    } catch (...) {
        showEngineMessage(currentErrorText());
        if (frame) {
            frame->result = 0;
            frame->stream.truncate();
        }
    }
    if (entry->caller == CommandEntry::Caller::Export) engine_.completion().set();
    engine_.setCurrentMessage(outer);
    return result;
}

}  // namespace eng
