#include "base/Colours.h"

#include <cmath>
#include <limits>

namespace modulino {

namespace {

// A double times 255 needs 61 bits of mantissa to be exact.
static_assert(std::numeric_limits<long double>::digits >= 61,
              "MakeColor needs a long double that holds f x 255 exactly");

int channelFromFraction(double fraction) {
    const long double product = static_cast<long double>(fraction) * 255.0L;
    const long double rounded = std::nearbyint(product); // ties to even
    if (!std::isfinite(rounded))
        return 0;
    long double low = std::fmod(rounded, 256.0L);
    if (low < 0)
        low += 256.0L;
    return int(low);
}

} // namespace

Colour MakeColor(double red, double green, double blue) {
    return rgb(channelFromFraction(red), channelFromFraction(green), channelFromFraction(blue));
}

QString ColorComponentText(Colour colour, Channel channel) {
    // b / 255 to the nearest hundredth; no exact ties occur for bytes.
    const int hundredths = (200 * channelByte(colour, channel) + 255) / 510;
    return QString::asprintf("%d.%02d", hundredths / 100, hundredths % 100);
}

QString colourText(Colour colour) {
    return QString::number(colour);
}

} // namespace modulino
