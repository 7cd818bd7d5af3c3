#pragma once

#include <memory>

#include "core/CommandTable.h"
#include "core/Engine.h"

namespace eng {

class Event;
class MessageQueue;

// The engine thread's body: creates the engine object, opens the project,
// publishes the engine and wakes the opener (completion event), runs the
// message loop until quit, then shuts down. When the project cannot be
// opened it shows the error, wakes the opener without publishing anything
// and returns false. A processor fault on the thread is reported before it
// ends the process (CrashGuard).
bool runEngineThread(const OpenRequest &request, std::shared_ptr<Event> completion, std::shared_ptr<MessageQueue> queue,
                     CommandTable commands);

// The message loop: commands first, then download completions (each after a
// scheduling step that can refill the slot about to free up), then anything
// else; when idle it keeps starting downloads while it can and sleeps only
// when it cannot. A timer that a stream of messages kept waiting a whole
// period runs ahead of them; runs of crawl messages share a transaction.
void runMessageLoop(Engine &engine);

}  // namespace eng
