#include "scene/TypedValue.h"

#include "scene/Numbers.h"

#include <QRegularExpression>

namespace modulino {

std::optional<int> typedTenths(QStringView text, const UpDown& range) {
    static const QRegularExpression form(QStringLiteral("^[+-]?([0-9]+([.,][0-9])?|[.,][0-9])$"));
    const QString trimmed = text.trimmed().toString();
    if (!form.match(trimmed).hasMatch())
        return std::nullopt;
    QString number = trimmed;
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    const auto tenths = tenthsOf(number);
    if (!tenths || *tenths < range.min || *tenths > range.max)
        return std::nullopt;
    return tenths;
}

QString rangeText(const UpDown& range) {
    return TenthsText(range.min, 3) + QStringLiteral(" … ") + TenthsText(range.max, 3);
}

} // namespace modulino
