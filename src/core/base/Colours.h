#pragma once

#include <QString>
#include <cstdint>

namespace modulino {

// A 24-bit colour as the swatches store it: red in bits 0-7, green in 8-15, blue in 16-23.
using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue) {
    return Colour(red & 0xff) | Colour(green & 0xff) << 8 | Colour(blue & 0xff) << 16;
}

constexpr Colour White = rgb(255, 255, 255);
constexpr Colour DefaultBackground = rgb(204, 204, 255);

enum class Channel { Red = 0, Green = 8, Blue = 16 };

constexpr int channelByte(Colour colour, Channel channel) {
    return int(colour >> int(channel) & 0xff);
}

// Three fractions to a colour: each exact product f x 255 rounded half to even, wrapped to 8 bits.
Colour MakeColor(double red, double green, double blue);

// One byte of a colour as a fraction with exactly two decimals: 128 -> "0.50".
QString ColorComponentText(Colour colour, Channel channel);

// The decimal text of a colour value, as the colour column holds it.
QString colourText(Colour colour);

} // namespace modulino
