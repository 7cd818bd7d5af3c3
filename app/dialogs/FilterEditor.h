#pragma once

#include <optional>
#include <vector>

#include <QWidget>

#include "FilterText.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

// The editor of a filter text: one category of links at a time ("Links",
// "Images", "Embedded Objects"), each retrieved only from an address
// pattern, not at all, or as a boolean expression of patterns matches with
// size bounds. A category's entry is checked and written back when another
// is chosen and when the text is read.
class FilterEditor : public QWidget {
    Q_OBJECT

public:
    explicit FilterEditor(QWidget *parent = nullptr);

    void setFilter(const QByteArray &text);
    // The edited text; nothing when the shown expression does not parse (the
    // user was told why).
    std::optional<QByteArray> filter();
    // Offers the addresses' patterns in the "Retrieve only from:" list, once each.
    void addSuggestions(const QStringList &patterns);
    // Selects a category by its place (0 links, 1 images, 2 embedded objects).
    void selectCategory(int category);
    // Adds a category after those, for the link kinds of the mask.
    void addCategory(const QString &name, uint32_t mask);

    QPlainTextEdit *patterns() const { return patterns_; }
    QRadioButton *patternMode() const { return patternMode_; }

private:
    uint32_t categoryMask() const;
    void showEntry();
    // Writes the shown category's entry into the entries; false when its expression does not parse.
    bool storeEntry();
    void followMode();

    std::vector<FilterEntry> entries_;
    QTreeWidget *categories_;
    QTreeWidgetItem *current_ = nullptr;
    QRadioButton *onlyFromMode_;
    QRadioButton *noneMode_;
    QRadioButton *patternMode_;
    QComboBox *onlyFrom_;
    QPlainTextEdit *patterns_;
    QLineEdit *size_;
    bool moving_ = false;
};
