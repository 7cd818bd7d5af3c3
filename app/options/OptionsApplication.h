#pragma once

struct ProgramOptions;
class KestProject;

// Copies the options the engine keeps per project (connection limits,
// time-out, retries, pause, proxies, the browser-cache bit and, while
// pinging is on, the ping hosts) into the open project's properties and
// writes them. True when the engine took them; false when no project is open.
bool applyOptionsToProject(const ProgramOptions &options, KestProject &project);
