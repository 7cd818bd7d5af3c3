#include "PropsCommand.h"

#include <cstdio>
#include <iostream>

#include "Arguments.h"
#include "EngineMessages.h"
#include "Failure.h"
#include "OpenedProject.h"
#include "ProjectSettings.h"
#include "engine.h"

namespace lark {

namespace {

uint32_t number(const std::string &name, const std::string &text) {
    char *end = nullptr;
    const unsigned long long n = std::strtoull(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || n > UINT32_MAX || text.front() == '-')
        throw UsageError(name + " needs a whole number, not \"" + text + "\"");
    return static_cast<uint32_t>(n);
}

// Applies one "name=value". Only what the project file keeps can be set here:
// the connection and proxy values live only while a program has the project
// open, and are given to the commands that go online.
void apply(eng::client::ProjectProps &p, const std::string &setting) {
    const auto eq = setting.find('=');
    if (eq == std::string::npos) throw UsageError("--set needs name=value, not \"" + setting + "\"");
    const std::string name = setting.substr(0, eq), value = setting.substr(eq + 1);
    if (name == "note")
        p.note = value;
    else if (name == "filter")
        p.filter = value;
    else if (name == "user-text")
        p.userText = value;
    else if (name == "options")
        p.optionFlags = number(name, value);
    else
        throw UsageError("cannot set \"" + name + "\" (note, filter, user-text or options)");
}

void show(const eng::client::ProjectProps &p) {
    std::printf("options      0x%08x\n", p.optionFlags);
    std::printf("note         %s\n", p.note.c_str());
    std::printf("filter       %s\n", p.filter.c_str());
    std::printf("user-text    %s\n", p.userText.c_str());
    std::printf("(while open) timeout %u s, pause %u s, connections %u, per server %u, retries %u\n", p.timeout,
                p.pause, p.maxConnections, p.maxPerServer, p.retries);
}

}  // namespace

int projectProps(const std::vector<std::string> &words) {
    Arguments args(words, {"set"}, {});
    args.expectCount(1, 1);
    const std::vector<std::string> settings = args.values("set");
    return reportingFailures("props", [&] {
        OpenedProject project(args.at(0));
        eng::client::ProjectProps p = readProperties();
        for (const std::string &setting : settings) apply(p, setting);
        if (!settings.empty()) {
            writeProperties(p);
            p = readProperties();
        }
        show(p);
        return 0;
    });
}

}  // namespace lark
