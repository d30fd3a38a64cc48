#pragma once

#include "scene/Controls.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace modulino {

// A size or position typed into its table cell, in tenths: an optional sign, digits and at most
// one decimal after '.' or ','. Nothing else is taken, and the value must lie in the range of the
// column's up-down.
std::optional<int> typedTenths(QStringView text, const UpDown& range);

// The range of an up-down as a person reads it, for example "0.1 … 10.0".
QString rangeText(const UpDown& range);

} // namespace modulino
