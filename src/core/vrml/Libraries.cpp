#include "vrml/Libraries.h"

#include "vrml/TextLines.h"

#include <QFile>

namespace modulino {

namespace {

QByteArrayList linesOfResource(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("The built-in library %s is missing", qPrintable(name));
    return splitLinesCopy(file.readAll());
}

} // namespace

QByteArrayList frontCornerLibrary() {
    static const QByteArrayList lines =
        linesOfResource(QStringLiteral(":/vrml/libraries/front-corner.wrl"));
    return lines;
}

QByteArrayList backCornerLibrary() {
    static const QByteArrayList lines =
        linesOfResource(QStringLiteral(":/vrml/libraries/back-corner.wrl"));
    return lines;
}

QByteArrayList spareFrontCornerLibrary() {
    QByteArrayList lines = frontCornerLibrary();
    lines.append(QByteArray());
    return lines;
}

} // namespace modulino
