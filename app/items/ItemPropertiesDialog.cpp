#include "ItemPropertiesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "AddressDragHandle.h"
#include "views/StateIcons.h"
#include "views/TaskRow.h"

namespace {

QLabel *plainLabel(const QString &text, const QString &name, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

// The state's picture beside its name.
QWidget *stateField(uint32_t state, QWidget *parent) {
    auto *field = new QWidget(parent);
    auto *layout = new QHBoxLayout(field);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *picture = new QLabel(field);
    picture->setPixmap(stateIcon(state).pixmap(16, 16));
    layout->addWidget(picture);
    layout->addWidget(plainLabel(viewStateName(state), QStringLiteral("state"), field), 1);
    return field;
}

}  // namespace

ItemPropertiesDialog::ItemPropertiesDialog(const ItemRow &row, QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Properties"));
    setObjectName(QStringLiteral("itemProperties"));
    auto *general = new QGroupBox(QStringLiteral("General"), this);
    auto *fields = new QFormLayout(general);
    const auto add = [&](const char *caption, const QString &text, const char *name) {
        fields->addRow(QString::fromLatin1(caption), plainLabel(text, QString::fromLatin1(name), general));
    };
    // The file's picture: dragging it drags the file's address.
    auto *picture = new AddressDragHandle([address = row.address] { return address; }, general);
    picture->setObjectName(QStringLiteral("filePicture"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_FileIcon).pixmap(32, 32));
    picture->setToolTip(QStringLiteral("Drag the file's address"));
    fields->addRow(picture);
    add("URL:", row.address, "url");
    add("Level:", row.levelText(), "level");
    add("Queued:", row.createdText(), "queued");
    fields->addRow(QStringLiteral("State:"), stateField(row.state, general));
    add("Error Description:", row.resultText(), "result");
    add("Retrieved:", row.completedText(), "retrieved");
    add("Size:", groupedNumber(row.size), "size");
    add("Content length:", groupedNumber(row.contentLength), "contentLength");
    add("Content type:", row.contentTypeText(), "contentType");
    add("Last Modified:", row.modifiedText(), "lastModified");
    add("Title:", row.title, "title");
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(general);
    layout->addWidget(buttons);
    resize(520, sizeHint().height());
}

void ItemPropertiesDialog::show(QWidget *parent, const ItemRow &row) {
    ItemPropertiesDialog dialog(row, parent);
    dialog.exec();
}
