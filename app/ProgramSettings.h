#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "base/SettingsStore.h"

// The program's values in the per-user settings file it shares with the
// engine. Values that cannot be read come back empty; failed writes are
// ignored, the program goes on with what it has.
class ProgramSettings {
public:
    std::optional<QString> text(const QString &name) const;
    std::optional<uint32_t> number(const QString &name) const;
    void setText(const QString &name, const QString &value);
    void setNumber(const QString &name, uint32_t value);

    // A list kept as one value, its entries separated by tabs (a value is one
    // line of the file).
    QStringList list(const QString &name) const;
    void setList(const QString &name, const QStringList &entries);

private:
    eng::SettingsStore store_;
};
