#include "ClickFilter.h"

#include <QMouseEvent>
#include <QWidget>

namespace modulino {

ClickFilter::ClickFilter(QWidget* widget)
    : QObject(widget)
    , widget(widget) {
    widget->installEventFilter(this);
}

bool ClickFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            pressed = true;
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && pressed) {
            pressed = false;
            if (widget->rect().contains(mouse->position().toPoint()))
                emit clicked();
        }
        return true;
    }
    case QEvent::MouseMove:
        emit pointerMoved();
        return false;
    default:
        return false;
    }
}

} // namespace modulino
