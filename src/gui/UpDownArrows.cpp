#include "UpDownArrows.h"

#include <QKeyEvent>
#include <QToolButton>

namespace modulino {

namespace {

QToolButton* arrow(QWidget* parent, Qt::ArrowType type, const QRect& place) {
    auto* button = new QToolButton(parent);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(place);
    return button;
}

} // namespace

UpDownArrows::UpDownArrows(QWidget* parent)
    : QWidget(parent) {
    setFixedSize(Size, Size);
    setFocusPolicy(Qt::StrongFocus);
    const int half = Size / 2;
    up = arrow(this, Qt::UpArrow, QRect(0, 0, Size, half));
    down = arrow(this, Qt::DownArrow, QRect(0, half, Size, Size - half));
    // An auto-repeating button reports "pressed" once on the press and once per repeat step.
    connect(up, &QToolButton::pressed, this, [this] { emit stepped(+1); });
    connect(down, &QToolButton::pressed, this, [this] { emit stepped(-1); });
}

void UpDownArrows::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        emit stepped(+1);
        break;
    case Qt::Key_Down:
        emit stepped(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace modulino
