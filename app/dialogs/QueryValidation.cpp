#include "QueryValidation.h"

#include <QLabel>
#include <QMessageBox>

#include "EngineLibrary.h"

QString queryErrorMessage(int code) {
    switch (code) {
        case -1:
            return QStringLiteral("Bad query");
        case -2:
            return QStringLiteral("No closing bracket");
        case -3:
            return QStringLiteral("No closing quote");
        case -4:
            return QStringLiteral("Missing operand");
        case -5:
            return QStringLiteral("Syntax Error");
        case -6:
            return QStringLiteral("Missing operation");
        default:
            return QStringLiteral("Unexpected error");
    }
}

namespace {

bool validQuery(QWidget *parent, const QString &expression, int32_t kind) {
    const QByteArray text = expression.toUtf8();
    int32_t position = -1;
    const int32_t code = engine().Eng_ValidateQueryAt(text.constData(), kind, &position);
    if (code == 0) return true;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Sitelark"),
                    QStringLiteral("Filter error: ") + queryErrorMessage(code), QMessageBox::Ok, parent);
    // The position is a byte offset; shown as the characters before it.
    const QString before = QString::fromUtf8(text.left(std::max(0, position)));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(
        QStringLiteral("At character %1: %2").arg(before.size() + 1).arg(expression.mid(before.size())));
    // The expression is the user's text, shown as it is, never as markup.
    if (auto *details = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
        details->setTextFormat(Qt::PlainText);
    box.exec();
    return false;
}

}  // namespace

bool validFilterExpression(QWidget *parent, const QString &expression) {
    return validQuery(parent, expression, ENG_QUERY_FILTER);
}

bool validSearchQuery(QWidget *parent, const QString &query) { return validQuery(parent, query, ENG_QUERY_SEARCH); }
