#pragma once

#include <cstdint>
#include <string>

#include "core/CommandTable.h"
#include "sys/MessageQueue.h"

namespace eng {

class Engine;

// Runs each engine message inside its own database transaction (a savepoint
// when dispatch is nested), shows an error in the engine's message box and
// rolls back, and wakes the waiting caller exactly once per command.
class Dispatcher {
public:
    Dispatcher(Engine &engine, CommandTable table);

    intptr_t dispatch(const Message &message);

private:
    intptr_t run(const CommandEntry &entry, DispatchContext &context);

    Engine &engine_;
    const CommandTable table_;
};

// The text shown for an error: at most 255 characters, and a fixed text for
// an error that has none.
std::string errorMessageText(const char *what);
// The text of the exception being handled (call only inside a catch block).
std::string currentErrorText();

}  // namespace eng
