#pragma once

#include <QByteArray>

// The project report ("qzinfo://projectreport/"): the stored files counted
// and summed by type, with a total over every type, the time the project
// has been online and the files that failed with connection errors.
QByteArray projectReportPage();
