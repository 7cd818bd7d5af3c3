// Fuzz target: the argument buffer of an engine command, read by the engine
// thread from its call frame as it reads every export's arguments. The input
// picks a command and gives every argument its bytes: numbers and dates as
// they come, counted texts with a count that may claim more than follows,
// caller texts and the task and project-property records (with their text
// fields) as memory the harness owns, so that every address in the buffer is
// valid as a caller's would be; the buffer may then be cut short. The
// command must answer or fail with the engine's own error: no crash, no
// foreign exception, no allocation for a count the buffer does not hold.
//
// Commands that reach outside the project (files named by the caller,
// exports, pings, compaction) or wait for a download are left out.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzProject.h"
#include "api/CommandCall.h"
#include "core/Messages.h"
#include "engine.h"

namespace msg = eng::msg;

namespace {

// Argument kinds: u UInt32, i Int32, h Int16, d Date, t caller text, c
// counted text, o output cell, R task record, P project properties.
struct Command {
    uint32_t number;
    const char *arguments;
};

constexpr Command kCommands[] = {
    {msg::kCreateTask, "R"},
    {msg::kUpdateTask, "R"},
    {msg::kDeleteTask, "u"},
    {msg::kGetTaskFromId, "u"},
    {msg::kGetFolderTasks, "u"},
    {msg::kFindTasks, "tt"},
    {msg::kRefreshTask, "ui"},
    {msg::kRefreshPrj, "i"},
    {msg::kCountRefreshable, "i"},
    {msg::kCountNotAcceptedResources, "u"},
    {msg::kGetProjectProp, ""},
    {msg::kSetProjectProp, "P"},
    {msg::kGetStatistics, ""},
    {msg::kCreateFolder, "ut"},
    {msg::kRenameFolder, "ut"},
    {msg::kDeleteFolder, "u"},
    {msg::kMoveFolder, "uu"},
    {msg::kGetSubFolders, "u"},
    {msg::kGetFolder, "u"},
    {msg::kRefreshUrlRes, "u"},
    {msg::kCreateUrlRes, "ttu"},
    {msg::kGetTaskItems, "u"},
    {msg::kFindTaskItem, "uu"},
    {msg::kGetRelItems, "uh"},
    {msg::kGetItemFromUrl, "ttud"},
    {msg::kGetItemFromUrlResId, "u"},
    {msg::kGetSource, "u"},
    {msg::kCountNotIndexedResources, "oo"},
    {msg::kValidateQuery, "ti"},
    {msg::kTestFilter, "tti"},
    {msg::kSearchItems, "ichcciiddddi"},
};

// The fuzz input taken field by field; past its end every field reads as zeros.
class Fields {
public:
    explicit Fields(std::string_view bytes) : bytes_(bytes) {}

    template <class T>
    T value() {
        T v{};
        const size_t n = std::min(sizeof v, bytes_.size());
        std::memcpy(&v, bytes_.data(), n);
        bytes_.remove_prefix(n);
        return v;
    }
    // Bytes up to the next NUL (which is consumed).
    std::string_view text() {
        const size_t end = bytes_.find('\0');
        const std::string_view out = bytes_.substr(0, end);
        bytes_.remove_prefix(end == std::string_view::npos ? bytes_.size() : end + 1);
        return out;
    }
    // A caller's text, kept alive in `held`; an odd tag byte gives a null address.
    char *callerText(std::deque<std::string> &held) {
        if (value<uint8_t>() & 1) return nullptr;
        return held.emplace_back(text()).data();
    }

private:
    std::string_view bytes_;
};

// What the caller's memory holds while the command runs.
struct CallerMemory {
    std::deque<std::string> texts;
    std::deque<EngTaskRecord> tasks;
    std::deque<EngProjectProps> properties;
    std::deque<uint32_t> cells;
};

// Field by field: the record is packed, so its fields have no addresses.
EngTaskRecord taskRecord(Fields &in, CallerMemory &memory) {
    const auto text = [&] { return in.callerText(memory.texts); };
    const auto number = [&] { return in.value<uint32_t>(); };
    const auto date = [&] { return in.value<double>(); };
    EngTaskRecord r{};
    r.id = number();
    r.url = text();
    r.formData = text();
    r.reserved1 = text();
    r.reserved2 = text();
    r.userAgent = text();
    r.queued = number();
    r.retrieved = number();
    r.depth = number();
    r.state = number();
    r.acceptableAge = date();
    r.created = date();
    r.done = date();
    r.folder = number();
    r.filter = text();
    r.lowGraphics = number();
    r.note = text();
    r.name = text();
    r.referer = text();
    r.followRedirects = number();
    r.error = number();
    r.size = number();
    r.errorText = text();
    r.contentType = text();
    r.type = in.value<int32_t>();
    r.status = in.value<int32_t>();
    r.errorCount = number();
    r.transportErrorCount = number();
    return r;
}

EngProjectProps propertiesRecord(Fields &in, CallerMemory &memory) {
    EngProjectProps p{};
    p.optionFlags = in.value<uint32_t>();
    p.timeout = in.value<uint16_t>();
    p.pause = in.value<uint16_t>();
    p.maxConnections = in.value<uint16_t>();
    p.maxPerServer = in.value<uint16_t>();
    p.retries = in.value<uint16_t>();
    p.note = in.callerText(memory.texts);
    p.filter = in.callerText(memory.texts);
    p.userText = in.callerText(memory.texts);
    p.proxyAccess = in.value<uint32_t>();
    p.httpProxy = in.callerText(memory.texts);
    p.ftpProxy = in.callerText(memory.texts);
    return p;
}

void writeArgument(char kind, Fields &in, eng::MemoryStream &out, CallerMemory &memory) {
    switch (kind) {
        case 'u':
            out.writeUInt32(in.value<uint32_t>());
            break;
        case 'i':
            out.writeInt32(in.value<int32_t>());
            break;
        case 'h':
            out.writeInt16(in.value<int16_t>());
            break;
        case 'd':
            out.writeDate(in.value<double>());
            break;
        case 't':
            out.writeCallerAddr(in.callerText(memory.texts));
            break;
        case 'c': {
            // The count as given, whatever follows it.
            out.writeUInt32(in.value<uint32_t>());
            const std::string_view text = in.text();
            out.write(text.data(), text.size());
            break;
        }
        case 'o':
            out.writeCallerAddr(&memory.cells.emplace_back(0));
            break;
        case 'R':
            out.writeCallerAddr(&memory.tasks.emplace_back(taskRecord(in, memory)));
            break;
        case 'P':
            // Set as the caller's buffer itself, as Eng_SetProjectProp passes it.
            out.writeRecord(memory.properties.emplace_back(propertiesRecord(in, memory)));
            break;
    }
}

// A project with a folder, two tasks and their resources to find.
void fillProject() {
    Eng_CreateFolder(1, "Folder");
    EngTaskRecord task{};
    task.url = const_cast<char *>("http://example.com/a.html");
    task.filter = const_cast<char *>("1;0;0;*\xFF");
    task.folder = 1;
    task.depth = 1;
    const int32_t first = Eng_CreateTask(&task);
    task.url = const_cast<char *>("ftp://example.com/pub/");
    Eng_CreateTask(&task);
    Eng_CreateUrlRes("http://example.com/b.html", "q=1", static_cast<uint32_t>(first));
}

std::vector<uint32_t> commandNumbers() {
    std::vector<uint32_t> numbers;
    for (const Command &command : kCommands) numbers.push_back(command.number);
    return numbers;
}

// The project, filled once, after which every command's changes are undone.
void openProject() {
    static fuzz::FuzzProject project(commandNumbers());
    static const bool filled = (fillProject(), project.setUp(), true);
    (void)filled;
}

}  // namespace

// The first byte picks the command; the second, when its top bit is set,
// cuts the buffer to its low seven bits' length; the rest are the fields.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    openProject();
    if (size < 2) return 0;
    const Command &command = kCommands[data[0] % std::size(kCommands)];
    Fields in({reinterpret_cast<const char *>(data + 2), size - 2});
    CallerMemory memory;
    eng::CommandCall call(command.number, eng::Wait::Pump);
    for (const char *kind = command.arguments; *kind; ++kind) writeArgument(*kind, in, call.args(), memory);
    if (data[1] & 0x80) {
        eng::MemoryStream cut;
        cut.write(call.args().data(), std::min<size_t>(call.args().length(), data[1] & 0x7F));
        call.args() = std::move(cut);
    }
    call.run();
    call.answer(nullptr, nullptr);
    return 0;
}
