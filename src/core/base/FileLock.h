#pragma once

#include <QString>
#include <memory>
#include <optional>

class QLockFile;

namespace modulino {

// The mark beside an open scene file that tells other editors it is open here: a lock file
// ".NAME.modulino-lock" in the file's folder that records user, computer and process. A mark
// left by a process that no longer runs is taken over.
class FileLock {
public:
    struct Holder {
        QString user;
        QString host;
        qint64 pid = 0;
    };

    FileLock();
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Marks `path` as open here and gives up the mark of any other file. Returns who holds the
    // mark when another running editor does; nothing when marked, and nothing where no mark can
    // be made (a read-only folder), which never stops the caller.
    std::optional<Holder> take(const QString& path);
    void release();
    // A program that only reads and writes files for a script marks nothing (and so can leave
    // no mark behind when it is killed).
    void setMarking(bool on) { marking = on; }

private:
    bool marking = true;
    std::unique_ptr<QLockFile> lock;
    QString lockedPath;
};

// Where the mark of `path` stands.
QString lockFileName(const QString& path);

} // namespace modulino
