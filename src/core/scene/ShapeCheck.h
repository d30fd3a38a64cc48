#pragma once

#include <QString>
#include <QStringView>

namespace modulino {

struct TextTables;

// What the shape check makes of a piece: the warning to show (empty for none) and the shape name
// its cell takes instead (null for none).
struct ShapeVerdict {
    QString message;
    const QString* rename = nullptr;
};

// The shape check of one piece: sizes in tenths as the up-downs hold them, k the shape list's
// item (-1 for none), `cellShape` the piece's shape cell (null when there is no piece row).
ShapeVerdict checkShape(const TextTables& texts, int axisOrder, int rx, int ry, int rz, int k,
                        const QString* cellShape);

} // namespace modulino
