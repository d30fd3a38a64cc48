#include "scene/Numbers.h"

#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace modulino {

QString TenthsText(int p, int n) {
    // Round |p| to n significant digits, halves away from zero; p is already in tenths.
    long long magnitude = std::llabs(static_cast<long long>(p));
    long long factor = 1;
    for (long long m = magnitude; m >= 10; m /= 10)
        factor *= 10;
    for (int digits = 1; digits < n && factor > 1; ++digits)
        factor /= 10;
    magnitude = (magnitude + factor / 2) / factor * factor;
    const QString sign = (p < 0 && magnitude != 0) ? QStringLiteral("-") : QString();
    return sign + QString::number(magnitude / 10) + QLatin1Char('.') +
           QString::number(magnitude % 10);
}

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Whether the text is a plain decimal: [+-] digits [. digits] [e [+-] digits], one digit at least.
bool isDecimal(QStringView t) {
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    qsizetype digits = 0;
    for (; i < t.size() && isDigit(t[i]); ++i)
        ++digits;
    if (i < t.size() && t[i] == QLatin1Char('.'))
        for (++i; i < t.size() && isDigit(t[i]); ++i)
            ++digits;
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        ++i;
        if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            ++i;
        qsizetype exponentDigits = 0;
        for (; i < t.size() && isDigit(t[i]); ++i)
            ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return i == t.size();
}

} // namespace

std::optional<double> parseNumber(QStringView text) {
    if (!isDecimal(text))
        return std::nullopt;
    // A valid number is plain ASCII; short ones, all that cells normally hold, need no allocation.
    QVarLengthArray<char, 64> ascii(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        ascii[i] = char(text[i].unicode());
    const char* first = ascii.constData();
    const char* const last = first + ascii.size();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseInteger(QStringView text) {
    qsizetype i = 0;
    const bool negative = i < text.size() && text[i] == QLatin1Char('-');
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        ++i;
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i]) || value > std::numeric_limits<int>::max())
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - '0');
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

namespace {

int saturated(double tenths) {
    constexpr double limit = std::numeric_limits<int>::max();
    return int(std::clamp(tenths, -limit, limit));
}

// The texts the editor writes, with at most one decimal, convert exactly without floating point.
std::optional<int> tenthsOfShortDecimal(QStringView t) {
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == QLatin1Char('-');
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        ++i;
    long long tenths = 0;
    int digits = 0;
    for (; i < t.size() && isDigit(t[i]) && digits < 15; ++i, ++digits)
        tenths = tenths * 10 + (t[i].unicode() - '0');
    tenths *= 10;
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        ++i;
        if (i < t.size() && isDigit(t[i])) {
            tenths += t[i].unicode() - '0';
            ++i;
            ++digits;
        }
    }
    if (i != t.size() || digits == 0)
        return std::nullopt;
    return saturated(double(negative ? -tenths : tenths));
}

} // namespace

std::optional<int> tenthsOf(QStringView text) {
    if (const auto exact = tenthsOfShortDecimal(text))
        return exact;
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    return saturated(std::nearbyint(*value * 10.0)); // ties to even
}

} // namespace modulino
