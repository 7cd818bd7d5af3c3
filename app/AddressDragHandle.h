#pragma once

#include <functional>

#include <QLabel>
#include <QPoint>

// The handle at the left of a browser's address bar: dragging it drags the
// shown page's address to other programs (as a link and as text).
class AddressDragHandle : public QLabel {
public:
    AddressDragHandle(std::function<QString()> address, QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    std::function<QString()> address_;
    QPoint pressedAt_;
};
