#include "base/RuntimeSockets.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace modulino {

namespace {

std::optional<struct stat> statusOf(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return status;
}

QString inFolder(const QString& name) {
    const QString folder = privateSocketFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
}

} // namespace

QString sessionTag() {
    QString tag;
    for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY", "XDG_SESSION_ID"}) {
        tag = qEnvironmentVariable(name);
        if (!tag.isEmpty())
            break;
    }
    if (tag.isEmpty())
        tag = QStringLiteral("console");
    // A name part only: a display like ":0" or a path-like Wayland socket loses its odd letters.
    for (QChar& c : tag) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('-') &&
            c != QLatin1Char('.'))
            c = QLatin1Char('_');
    }
    return tag.left(40);
}

QString privateSocketFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    const auto status = folder.isEmpty() ? std::nullopt : statusOf(folder);
    if (!status || !S_ISDIR(status->st_mode) || status->st_uid != ::geteuid() ||
        (status->st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return {};
    return folder;
}

QString viewerSocketPath() {
    return inFolder(QStringLiteral("modulino-view-") + sessionTag());
}

QString editorSocketPath(const QString& previewFile) {
    const QByteArray hash = QCryptographicHash::hash(
        QFileInfo(previewFile).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1);
    return inFolder(QStringLiteral("modulino-edit-%1-%2")
                        .arg(sessionTag(), QString::fromLatin1(hash.toHex().left(16))));
}

bool ownedByUser(const QString& path) {
    const auto status = statusOf(path);
    return status && status->st_uid == ::geteuid();
}

} // namespace modulino
