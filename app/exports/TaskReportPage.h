#pragma once

#include <cstdint>

#include <QByteArray>

// The task report ("qzinfo://taskinfo/<task>"): the task's address, depth
// and state, its files retrieved, failed, queued and not accepted, and when
// it was created and finished. Every text from the task is escaped.
QByteArray taskReportPage(uint32_t task);

// The page for a task that cannot be loaded.
QByteArray taskNotFoundPage(uint32_t task);
