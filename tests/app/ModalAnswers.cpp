#include "ModalAnswers.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>

namespace gui_test {

void answerFileDialog(const QString &path) {
    whenOpen<QFileDialog>([path](QFileDialog *dialog) {
        const QFileInfo file(path);
        dialog->setDirectory(file.absolutePath());
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(file.fileName());
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

void answerMessageBox(QMessageBox::StandardButton button, QString *text) {
    whenOpen<QMessageBox>([button, text](QMessageBox *box) {
        *text = box->text();
        box->button(button)->click();
    });
}

}  // namespace gui_test
