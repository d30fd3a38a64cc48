#include "OptionPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace modulino {

namespace {

void drawArrow(QPainter& painter, QPointF from, QPointF to) {
    painter.drawLine(from, to);
    const QLineF shaft(to, from);
    const qreal angle = qDegreesToRadians(shaft.angle());
    const qreal spread = qDegreesToRadians(25.0);
    const qreal length = 7;
    QPainterPath head(to);
    head.lineTo(to + QPointF(std::cos(angle + spread), -std::sin(angle + spread)) * length);
    head.lineTo(to + QPointF(std::cos(angle - spread), -std::sin(angle - spread)) * length);
    head.closeSubpath();
    painter.fillPath(head, painter.pen().color());
}

} // namespace

CornerCube::CornerCube(Corner corner, QWidget* parent)
    : QWidget(parent)
    , corner(corner) {
    setFixedSize(90, 90);
}

void CornerCube::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF front(12, 32, 46, 46);
    const QPointF depth(20, -20);
    const QRectF back = front.translated(depth);

    painter.setPen(QPen(Qt::black, 1.5));
    painter.drawRect(back);
    painter.drawRect(front);
    for (const QPointF& point :
         {front.topLeft(), front.topRight(), front.bottomLeft(), front.bottomRight()})
        painter.drawLine(point, point + depth);

    const QPointF dot = corner == Corner::Front ? front.bottomLeft() : back.bottomLeft();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 0, 0));
    painter.drawEllipse(dot, 5, 5);
}

AxisTripod::AxisTripod(QWidget* parent)
    : QWidget(parent) {
    setFixedSize(Size, Size);
}

void AxisTripod::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF origin(40, 46);
    drawArrow(painter, origin, {40, 21});
    drawArrow(painter, origin, {63, 46});
    drawArrow(painter, origin, {19, 64});
}

AxisFrame::AxisFrame(QWidget* parent)
    : QWidget(parent) {
    setFixedSize(Size, Size);
}

void AxisFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    constexpr int border = 5;
    painter.fillRect(rect(), Qt::black);
    painter.fillRect(rect().adjusted(border, border, -border, -border), Qt::white);
}

} // namespace modulino
