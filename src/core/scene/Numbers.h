#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace modulino {

// Cell text of an up-down position counted in tenths: p/10 rounded to n significant digits
// (halves away from zero), written with exactly one decimal and '.' as separator.
QString TenthsText(int p, int n);

// A decimal number with '.' as separator, whatever the locale: optional sign, digits, an optional
// fraction and exponent. The whole text must be the number; nothing else is accepted.
std::optional<double> parseNumber(QStringView text);

// A decimal integer without decimals, whatever the locale.
std::optional<int> parseInteger(QStringView text);

// The cell text of a size or position loaded into an up-down: value x 10, nearest integer with
// ties to even, saturated to the int range.
std::optional<int> tenthsOf(QStringView text);

} // namespace modulino
