#include "base/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace modulino {

std::optional<FileIdentity> regularFileAt(const QString& path) {
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileIdentity{
        std::uint64_t(status.st_dev), std::uint64_t(status.st_ino), std::int64_t(status.st_size),
        std::int64_t(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

bool pathTaken(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

} // namespace modulino
