#pragma once

#include "base/Colours.h"

#include <QColor>

namespace modulino {

// Swatch colours (red in the low byte) to and from Qt's colours.
inline QColor toQColor(Colour colour) {
    return QColor(channelByte(colour, Channel::Red), channelByte(colour, Channel::Green),
                  channelByte(colour, Channel::Blue));
}

inline Colour fromQColor(const QColor& colour) {
    const QColor c = colour.toRgb();
    return rgb(c.red(), c.green(), c.blue());
}

} // namespace modulino
