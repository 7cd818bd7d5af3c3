#include "ProgramSettings.h"

std::optional<QString> ProgramSettings::text(const QString &name) const {
    const auto value = store_.read(name.toStdString());
    if (!value) return std::nullopt;
    return QString::fromStdString(*value);
}

std::optional<uint32_t> ProgramSettings::number(const QString &name) const {
    return store_.readNumber(name.toStdString());
}

void ProgramSettings::setText(const QString &name, const QString &value) {
    store_.write(name.toStdString(), value.toStdString());
}

void ProgramSettings::setNumber(const QString &name, uint32_t value) { store_.writeNumber(name.toStdString(), value); }

QStringList ProgramSettings::list(const QString &name) const {
    return text(name).value_or(QString()).split(u'\t', Qt::SkipEmptyParts);
}

void ProgramSettings::setList(const QString &name, const QStringList &entries) { setText(name, entries.join(u'\t')); }
