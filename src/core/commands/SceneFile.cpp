#include "commands/SceneFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace modulino {

FileRead readWholeFile(const QString& path) {
    FileRead result;
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        result.error = QStringLiteral("Cannot open file \"%1\": it is a folder.").arg(path);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("Cannot open file \"%1\": %2").arg(path, file.errorString());
        return result;
    }
    result.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        result.error = QStringLiteral("Cannot read file \"%1\": %2").arg(path, file.errorString());
    return result;
}

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (QFileInfo(path).isDir())
        return QStringLiteral("Cannot create file \"%1\": it is a folder.").arg(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot create file \"%1\": %2").arg(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("Cannot write file \"%1\": %2").arg(path, file.errorString());
    return QString();
}

} // namespace modulino
