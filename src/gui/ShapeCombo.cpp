#include "ShapeCombo.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QStylePainter>

namespace modulino {

namespace {

bool typesACharacter(const QEvent* event) {
    if (event->type() == QEvent::InputMethod)
        return true;
    if (event->type() != QEvent::KeyPress)
        return false;
    const QString typed = static_cast<const QKeyEvent*>(event)->text();
    return !typed.isEmpty() && typed.front().isPrint();
}

} // namespace

ShapeCombo::ShapeCombo(QWidget* parent)
    : QComboBox(parent) {
    setEditable(false);
    // The open list's keyboard search would pick a shape too; this filter runs before it.
    view()->installEventFilter(this);
}

bool ShapeCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view() && typesACharacter(event)) {
        event->accept();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void ShapeCombo::setShownText(const QString& text) {
    if (text == shown)
        return;
    shown = text;
    update();
}

void ShapeCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = shown;
    if (currentIndex() < 0)
        option.currentIcon = {};
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void ShapeCombo::keyPressEvent(QKeyEvent* event) {
    if (typesACharacter(event)) {
        event->accept(); // the list's keyboard search would change the shape
        return;
    }
    QComboBox::keyPressEvent(event);
}

void ShapeCombo::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();
}

} // namespace modulino
