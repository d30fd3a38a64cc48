#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace modulino {

// Splits file bytes into lines; CR LF, CR and LF each end a line. A last line without a line end
// counts; an empty input has no lines.
QList<QByteArrayView> splitLines(QByteArrayView bytes);
QByteArrayList splitLinesCopy(QByteArrayView bytes);

// The 8-bit text of scene files and library texts is Windows-1250; a character outside it is
// written as '?'.
QString decode1250(QByteArrayView bytes);
QByteArray encode1250(QStringView text);

} // namespace modulino
