#pragma once

#include <QString>

// The address a user typed, as tasks and the browser take it: canonical, of
// the schemes http, https, ftp and file, with "http://" put in front of a
// text that has no scheme. Empty for anything else ("about:blank",
// "qzinfo:", "http:///").
QString normalisedAddress(const QString &text);
