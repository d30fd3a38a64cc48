#include "base/SceneFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace modulino {

namespace {

constexpr qsizetype ReadChunk = 64 * 1024;
constexpr int WriteWaitMs = 10'000; // how long a FIFO's reader may leave its pipe full
constexpr char TemporaryPrefix[] = ".modulino-";

QString failure(const char* what, const QString& path, const QString& reason) {
    return QStringLiteral("Cannot %1 file \"%2\": %3").arg(QLatin1StringView(what), path, reason);
}

QString systemFailure(const char* what, const QString& path, int error) {
    return failure(what, path, qt_error_string(error));
}

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder.");
    if (S_ISFIFO(mode))
        return QStringLiteral("it is a FIFO, not a regular file.");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("it is a device, not a regular file.");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket, not a regular file.");
    return QStringLiteral("it is not a regular file.");
}

QString tooLarge(const QString& path, qint64 sizeLimit) {
    return failure("read", path, QStringLiteral("it is larger than %1 MiB.").arg(sizeLimit >> 20));
}

// Closes the descriptor when it goes out of scope, unless close() was called and checked.
class Descriptor {
public:
    explicit Descriptor(int fd)
        : fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    int get() const { return fd; }
    bool valid() const { return fd >= 0; }
    // Returns 0 or the error of the close, where a delayed write may fail.
    int close() {
        const int result = ::close(fd);
        fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd;
};

// Returns 0 or the error that stopped the write. A non-blocking descriptor waits for room.
int writeAll(int fd, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, std::size_t(bytes.size() - done));
        if (n >= 0) {
            done += n;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return errno;
        pollfd wait{fd, POLLOUT, 0};
        const int ready = ::poll(&wait, 1, WriteWaitMs);
        if (ready == 0)
            return ETIMEDOUT;
        if (ready < 0 && errno != EINTR)
            return errno;
    }
    return 0;
}

// Reads to the end, refusing more than `sizeLimit` bytes. Room beyond `expected` is added as the
// file turns out longer, so the buffer stays close to the file's size.
int readAll(int fd, qint64 expected, qint64 sizeLimit, QByteArray& bytes, bool& over) {
    bytes.resize(qsizetype(expected));
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > sizeLimit) {
                over = true;
                return 0;
            }
            bytes.resize(filled + ReadChunk);
        }
        const ssize_t n = ::read(fd, bytes.data() + filled, std::size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        filled += n;
    }
    bytes.truncate(filled);
    over = filled > sizeLimit;
    return 0;
}

// Writes into a FIFO or a device as it stands. Opening does not wait for a FIFO's reader.
QString writeInto(const QString& path, QByteArrayView bytes) {
    Descriptor fd(
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid() && errno == ENXIO) // a FIFO without a reader
        return failure("open", path,
                       qt_error_string(ENXIO) + QStringLiteral(" (nothing reads it)"));
    if (!fd.valid())
        return systemFailure("open", path, errno);
    if (const int error = writeAll(fd.get(), bytes))
        return systemFailure("write", path, error);
    if (const int error = fd.close())
        return systemFailure("write", path, error);
    return QString();
}

// Overwrites a regular file's content in place, so that its inode, links and attributes stay.
// The room is reserved first: a full disk is found before the old text is touched.
QString writeInPlace(const QString& path, QByteArrayView bytes) {
    Descriptor fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid())
        return systemFailure("open", path, errno);
    if (!bytes.isEmpty() &&
        ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, off_t(bytes.size())) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS)
        return systemFailure("write", path, errno);
    int error = writeAll(fd.get(), bytes);
    if (!error && ::ftruncate(fd.get(), off_t(bytes.size())) != 0)
        error = errno;
    if (!error && ::fdatasync(fd.get()) != 0)
        error = errno;
    if (const int closing = fd.close(); !error)
        error = closing;
    return error ? systemFailure("write", path, error) : QString();
}

// A new file beside `target` whose short name fits any folder: ".modulino-" and eight hex digits.
int createTemporary(const QString& target, mode_t mode, QByteArray& name) {
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    for (int attempt = 0; attempt < 100; ++attempt) {
        name =
            folder + '/' + TemporaryPrefix +
            QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0');
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The previous file's owner, group and permission bits, as far as the program may set them.
// Who may not give a file away keeps it as its owner, with the old group where a member of it.
void takeAttributes(int fd, const struct stat& old) {
    const bool taken =
        ::fchown(fd, old.st_uid, old.st_gid) == 0 || ::fchown(fd, uid_t(-1), old.st_gid) == 0;
    Q_UNUSED(taken);
    ::fchmod(fd, old.st_mode & 07777); // after the owner, whose change clears set-user-ID
}

struct Replaced {
    QString error;
    bool folderRefused = false; // no file may be created beside the target
};

// Writes the new file's content and attributes; 0 or the error that stopped it.
int fill(int fd, QByteArrayView bytes, const struct stat* old) {
    if (old)
        takeAttributes(fd, *old);
    const int error = writeAll(fd, bytes);
    if (error)
        return error;
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

// Gives an unnamed file a name in its folder; 0 or the error. Through /proc where it is mounted,
// else by the descriptor itself, which needs a privilege.
int linkUnnamed(int fd, const QByteArray& name) {
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno == EEXIST)
        return EEXIST;
    return ::linkat(fd, "", AT_FDCWD, name.constData(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// Where a finished unnamed file takes the passing name it needs to replace an existing target:
// the state folder when it lies on the target's file system, so that a write killed between the
// link and the rename leaves nothing in the user's folder (the editor clears it at its next start).
QByteArray passingFolder(const QByteArray& targetFolder) {
    const QString state = stateFolder();
    if (QDir().mkpath(state)) // the user's data: private
        QFile::setPermissions(state, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ExeOwner);
    struct stat there {};
    struct stat here {};
    if (::stat(targetFolder.constData(), &there) == 0 &&
        ::stat(QFile::encodeName(state).constData(), &here) == 0 && there.st_dev == here.st_dev)
        return QFile::encodeName(state);
    return targetFolder;
}

// Links the unnamed file in under a passing name in `folder` and renames it over `name`; 0 or
// the error.
int linkOver(int fd, const QByteArray& folder, const QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray passing =
            folder + '/' + TemporaryPrefix +
            QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, '0');
        const int error = linkUnnamed(fd, passing);
        if (error == EEXIST)
            continue;
        if (error)
            return error;
        if (::rename(passing.constData(), name.constData()) == 0)
            return 0;
        const int renaming = errno;
        ::unlink(passing.constData());
        return renaming;
    }
    return EEXIST;
}

// Replaces `target` through a file without a name, so that a write killed at any moment leaves
// nothing behind. A missing target is linked in directly, an existing one through a passing
// name. False when the file system has no unnamed files or they cannot be linked (nothing has
// been written then).
bool replaceUnnamed(const QString& target, QByteArrayView bytes, const struct stat* old,
                    int& error) {
    const QByteArray folder = QFile::encodeName(QFileInfo(target).absolutePath());
    Descriptor fd(::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, old ? 0600 : 0666));
    if (!fd.valid())
        return false;
    error = fill(fd.get(), bytes, old);
    const QByteArray name = QFile::encodeName(target);
    if (!error && !old)
        error = linkUnnamed(fd.get(), name);
    if (!error && old) {
        const QByteArray passing = passingFolder(folder);
        error = linkOver(fd.get(), passing, name);
        if (error && passing != folder) // another mount, or a state folder that takes no files
            error = linkOver(fd.get(), folder, name);
    } else if (error == EEXIST && !old) { // made meanwhile: replaced as any existing file
        error = linkOver(fd.get(), folder, name);
    }
    if (error == EPERM || error == ENOENT) // no way to link: the named temporary instead
        return false;
    if (const int closing = fd.close(); !error)
        error = closing;
    return true;
}

// Replaces `target` (missing when `old` is null) through a temporary file and a rename.
Replaced replace(const QString& target, const QString& shownPath, QByteArrayView bytes,
                 const struct stat* old) {
    if (int error = 0; replaceUnnamed(target, bytes, old, error))
        return {error ? systemFailure("write", shownPath, error) : QString()};
    QByteArray temporary;
    Descriptor fd(createTemporary(target, old ? 0600 : 0666, temporary));
    if (!fd.valid()) {
        const int error = errno;
        return {systemFailure("create", shownPath, error), error == EACCES || error == EPERM};
    }
    int error = fill(fd.get(), bytes, old);
    if (const int closing = fd.close(); !error)
        error = closing;
    if (!error && ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.constData());
        return {systemFailure("write", shownPath, error)};
    }
    return {};
}

// Where a write to a missing `path` lands: a dangling link's target, or the path itself.
QString missingTarget(const QString& path) {
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : path;
}

} // namespace

FileRead readWholeFile(const QString& path, qint64 sizeLimit) {
    FileRead result;
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    // Looked at before opening, so that a FIFO or a socket is refused without side effects.
    if (::stat(name.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        result.error = failure("open", path, kindOf(info.st_mode));
        return result;
    }
    Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0) {
        result.error = systemFailure("open", path, errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.error = failure("open", path, kindOf(info.st_mode));
        return result;
    }
    if (info.st_size > sizeLimit) {
        result.error = tooLarge(path, sizeLimit);
        return result;
    }
    bool over = false;
    if (const int error = readAll(fd.get(), info.st_size, sizeLimit, result.bytes, over))
        result.error = systemFailure("read", path, error);
    else if (over)
        result.error = tooLarge(path, sizeLimit);
    if (!result.ok())
        result.bytes.clear();
    return result;
}

QString writeWholeFile(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        if (errno != ENOENT)
            return systemFailure("create", path, errno);
        return replace(missingTarget(path), path, bytes, nullptr).error;
    }
    if (S_ISDIR(info.st_mode))
        return failure("create", path, kindOf(info.st_mode));
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode))
        return writeInto(path, bytes);
    if (!S_ISREG(info.st_mode))
        return failure("write", path, kindOf(info.st_mode));
    if (::access(name.constData(), W_OK) != 0)
        return systemFailure("write", path, errno);
    // Every link sees the new text, as it would after saving through any other of its names.
    if (info.st_nlink > 1)
        return writeInPlace(path, bytes);
    const Replaced replaced = replace(QFileInfo(path).canonicalFilePath(), path, bytes, &info);
    return replaced.folderRefused ? writeInPlace(path, bytes) : replaced.error;
}

QString writeToDescriptor(int fd, QByteArrayView bytes) {
    const int error = writeAll(fd, bytes);
    return error ? qt_error_string(error) : QString();
}

QString stateFolder() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/modulino");
}

void clearPassingNames(const QString& folder) {
    const QDateTime old = QDateTime::currentDateTime().addSecs(-600);
    const QDir dir(folder);
    for (const QFileInfo& file : dir.entryInfoList(
             {QLatin1StringView(TemporaryPrefix) + QLatin1Char('*')}, QDir::Files | QDir::Hidden))
        if (file.lastModified() < old)
            QFile::remove(file.filePath());
}

bool mayBePrototypeFile(const QString& path) {
    const auto proto = QLatin1StringView("proto");
    return path.contains(proto) || QFileInfo(path).absoluteFilePath().contains(proto);
}

} // namespace modulino
