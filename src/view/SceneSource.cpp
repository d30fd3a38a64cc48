#include "SceneSource.h"

#include "vrml/TextLines.h"

#include <QFile>

namespace modulino::view {

namespace {

int countPieceLines(QByteArrayView bytes) {
    int pieces = 0;
    for (QByteArrayView line : splitLines(bytes))
        pieces += line.startsWith("Dilek {");
    return pieces;
}

} // namespace

SceneSource readSceneSource(const QString& path) {
    SceneSource source;
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        source.error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return source;
    }
    source.text = decode1250(bytes);
    source.pieces = countPieceLines(bytes);
    return source;
}

} // namespace modulino::view
