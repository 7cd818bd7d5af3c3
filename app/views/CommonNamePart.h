#pragma once

#include <QString>

// The longest text of the shorter name (the second when both are as long)
// that the other name holds too; of those as long, the one that starts
// first. Empty when they share no character.
QString commonNamePart(const QString &first, const QString &second);
