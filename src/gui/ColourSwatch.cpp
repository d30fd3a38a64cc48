#include "ColourSwatch.h"

#include "QtColours.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

namespace modulino {

ColourSwatch::ColourSwatch(QWidget* parent)
    : QWidget(parent) {}

void ColourSwatch::setColour(Colour colour) {
    if (colour == fill)
        return;
    fill = colour;
    update();
    QAccessibleValueChangeEvent changed(this, int(colour));
    QAccessible::updateAccessibility(&changed);
}

void ColourSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(toQColor(fill));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit pressed();
}

} // namespace modulino
