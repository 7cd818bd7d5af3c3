#pragma once

#include <QString>

class QWidget;

// Checks a filter expression as the engine's parser reads it; when it does
// not parse, says "Filter error: " with the parser's message and where it
// stopped, and answers false.
bool validFilterExpression(QWidget *parent, const QString &expression);
// The same for a search query over the words of bodies or titles.
bool validSearchQuery(QWidget *parent, const QString &query);

// The message for a parser's error code: -2 "No closing bracket", ...
QString queryErrorMessage(int code);
