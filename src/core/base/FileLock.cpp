#include "base/FileLock.h"

#include <QFileInfo>
#include <QLockFile>

namespace modulino {

namespace {

// One name for the file whatever link or relative path reached it.
QString canonical(const QString& path) {
    const QFileInfo info(path);
    const QString resolved = info.canonicalFilePath();
    return resolved.isEmpty() ? info.absoluteFilePath() : resolved;
}

} // namespace

QString lockFileName(const QString& path) {
    const QFileInfo info(canonical(path));
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() +
           QStringLiteral(".modulino-lock");
}

FileLock::FileLock() = default;
FileLock::~FileLock() = default;

std::optional<FileLock::Holder> FileLock::take(const QString& path) {
    const QString name = lockFileName(path);
    if (lock && lockedPath == name)
        return std::nullopt;
    release();
    if (!marking)
        return std::nullopt;
    auto candidate = std::make_unique<QLockFile>(name);
    candidate->setStaleLockTime(0); // stale only when its process is gone, however old
    if (candidate->tryLock(0)) {
        lock = std::move(candidate);
        lockedPath = name;
        return std::nullopt;
    }
    Holder holder;
    QString application;
    if (!candidate->getLockInfo(&holder.pid, &holder.host, &application))
        return std::nullopt; // no mark can be made here
    holder.user = QFileInfo(name).owner();
    return holder;
}

void FileLock::release() {
    lock.reset(); // unlocks, removing the lock file
    lockedPath.clear();
}

} // namespace modulino
