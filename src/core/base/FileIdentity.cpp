#include "base/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace modulino {

namespace {

FileIdentity identityOf(const struct stat& status) {
    return FileIdentity{
        std::uint64_t(status.st_dev), std::uint64_t(status.st_ino), std::int64_t(status.st_size),
        std::int64_t(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

} // namespace

std::optional<FileIdentity> regularFileAt(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return identityOf(status);
}

std::optional<FileIdentity> fileAt(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return identityOf(status);
}

bool pathTaken(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

} // namespace modulino
