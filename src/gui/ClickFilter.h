#pragma once

#include <QObject>

class QWidget;

namespace modulino {

// Turns a widget into a clickable one, the way a picture, a label or a panel reports clicks: a
// left-button press followed by its release inside the widget. The press goes no further.
// Pointer movement over the widget is reported too while the widget tracks the mouse.
class ClickFilter : public QObject {
    Q_OBJECT
public:
    explicit ClickFilter(QWidget* widget);

signals:
    void clicked();
    void pointerMoved();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* widget;
    bool pressed = false;
};

} // namespace modulino
