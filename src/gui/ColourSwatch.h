#pragma once

#include "base/Colours.h"

#include <QWidget>

namespace modulino {

// A rectangle filled with a colour and outlined in black; reports a press of any mouse button.
class ColourSwatch : public QWidget {
    Q_OBJECT
public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    Colour colour() const { return fill; }
    void setColour(Colour colour);

signals:
    void pressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    Colour fill = White;
};

} // namespace modulino
