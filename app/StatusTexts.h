#pragma once

#include <QString>

// The reason phrases of HTTP and WebDAV status codes, as the result columns
// of task and item views show them.
namespace status_texts {

// The phrase for a status code; empty when the table has none.
QString phrase(int code);

// The result text to show for a fetch: a failed fetch whose result reads
// "Ok." shows what its status code means instead ("HTTP Error code:" and the
// code when the table lacks it). Anything else is shown as it is.
QString resultText(const QString &result, bool failed, int code);

}  // namespace status_texts
