#pragma once

#include <optional>

#include <QUrl>

#include "InfoSchemeHandler.h"

// The report pages and their pictures on "qzinfo:", by the address's host:
// taskinfo, projectreport, urltestfilter, urltestfilter2, itemtestfilter,
// taskicon and taskicon2. Nothing for other hosts, and while no project is
// open.
std::optional<InfoSchemeHandler::Answer> reportAnswer(const QUrl &url);
