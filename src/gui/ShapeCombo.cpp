#include "ShapeCombo.h"

#include <QKeyEvent>
#include <QStylePainter>

namespace modulino {

ShapeCombo::ShapeCombo(QWidget* parent)
    : QComboBox(parent) {
    setEditable(false);
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
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.front().isPrint()) {
        event->accept(); // the list's keyboard search would change the shape
        return;
    }
    QComboBox::keyPressEvent(event);
}

void ShapeCombo::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();
}

} // namespace modulino
