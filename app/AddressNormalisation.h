#pragma once

#include <QString>

// The address a user typed, as tasks and the browser take it: canonical, of
// the schemes http, https, ftp and file, with "http://" put in front of a
// text that has no scheme or starts with a host and a port
// ("example.org:8080/path"). Empty for anything else ("about:blank",
// "qzinfo:", "mailto:", "http:///").
QString normalisedAddress(const QString &text);
