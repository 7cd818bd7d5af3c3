#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>

#include "core/CallFrame.h"
#include "sys/MessageQueue.h"

namespace eng {

class Engine;

// What a handler is given: the engine, the message, and the call frame when
// the message carries one.
struct DispatchContext {
    Engine &engine;
    const Message &message;
    CallFrame *frame;

    // The command's arguments, read from the start of the frame's stream.
    MemoryStream &args() { return frame->stream; }
    // The emptied stream, for the records the command returns.
    MemoryStream &answer() {
        frame->stream.truncate();
        return frame->stream;
    }
    void setResult(int32_t result) { frame->result = result; }
};

// How the engine takes one of its messages.
struct CommandEntry {
    enum class Caller : uint8_t {
        Export,    // posted by an export whose caller waits for the completion event
        Internal,  // sent or posted inside the engine; nobody waits
    };
    enum class Frame : uint8_t {
        InLParam,  // lParam is the address of a CallFrame
        None,      // lParam is a plain value or unused
    };
    enum class Phase : uint8_t {
        InTransaction,  // inside the message's database transaction
        AfterCommit,    // after it, outside any transaction
    };

    // Returns the message's result (1 when WM_START_NEXT started a download).
    std::function<intptr_t(DispatchContext &)> handler;
    Caller caller = Caller::Export;
    Frame frame = Frame::InLParam;
    Phase phase = Phase::InTransaction;
};

// The handlers of the engine's messages by number.
class CommandTable {
public:
    void set(uint32_t message, CommandEntry entry) { entries_[message] = std::move(entry); }
    const CommandEntry *find(uint32_t message) const {
        auto it = entries_.find(message);
        return it == entries_.end() ? nullptr : &it->second;
    }

private:
    std::unordered_map<uint32_t, CommandEntry> entries_;
};

// Every command and internal message the engine knows, with its handler.
CommandTable defaultCommandTable();

// The handlers of one subsystem's commands, added to the table.
void addFolderCommands(CommandTable &table);
void addPropertyCommands(CommandTable &table);
void addProjectFigures(CommandTable &table);
void addUrlResEvents(CommandTable &table);
void addItemCommands(CommandTable &table);
void addUrlResCommands(CommandTable &table);
void addTaskCommands(CommandTable &table);
void addFilterCommands(CommandTable &table);
void addTaskTransfer(CommandTable &table);
void addDownloadCommands(CommandTable &table);
void addCrawlCommands(CommandTable &table);
void addPingCommands(CommandTable &table);
void addBrowserLookups(CommandTable &table);
void addBodyRequests(CommandTable &table);
void addIndexCommands(CommandTable &table);
void addSearchCommands(CommandTable &table);
void addExportCommands(CommandTable &table);

}  // namespace eng
