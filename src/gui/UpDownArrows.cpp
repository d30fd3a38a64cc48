#include "UpDownArrows.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>

namespace modulino {

namespace {

// An arrow that never takes the focus itself but shows it while its pair has it.
class Arrow : public QToolButton {
public:
    Arrow(QWidget* pair, Qt::ArrowType type, const QRect& place)
        : QToolButton(pair) {
        setArrowType(type);
        setAutoRepeat(true);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(place);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionToolButton button;
        initStyleOption(&button);
        painter.drawComplexControl(QStyle::CC_ToolButton, button);
        if (parentWidget()->hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rect().adjusted(1, 1, -1, -1);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
};

} // namespace

UpDownArrows::UpDownArrows(QWidget* parent)
    : QWidget(parent) {
    setFixedSize(Size, Size);
    setFocusPolicy(Qt::StrongFocus);
    const int half = Size / 2;
    up = new Arrow(this, Qt::UpArrow, QRect(0, 0, Size, half));
    down = new Arrow(this, Qt::DownArrow, QRect(0, half, Size, Size - half));
    // An auto-repeating button reports "pressed" once on the press and once per repeat step.
    connect(up, &QToolButton::pressed, this, [this] { emit stepped(+1); });
    connect(down, &QToolButton::pressed, this, [this] { emit stepped(-1); });
}

void UpDownArrows::setAccessibleNames(const QString& name) {
    setAccessibleName(name);
    up->setAccessibleName(name + QStringLiteral(" up"));
    down->setAccessibleName(name + QStringLiteral(" down"));
}

void UpDownArrows::setValue(const UpDown& value) {
    if (value.position == held.position && value.min == held.min && value.max == held.max)
        return;
    held = value;
    QAccessibleValueChangeEvent changed(this, held.position / 10.0);
    QAccessible::updateAccessibility(&changed);
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

void UpDownArrows::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    up->update();
    down->update();
}

void UpDownArrows::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    up->update();
    down->update();
}

} // namespace modulino
