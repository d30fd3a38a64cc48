#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace modulino {

// The largest files the program reads: a scene, and a language file or prototype library.
constexpr qint64 SceneSizeLimit = qint64(512) << 20;
constexpr qint64 TextFileSizeLimit = qint64(16) << 20;

// A file's whole content, or why it could not be read.
struct FileRead {
    QByteArray bytes;
    QString error; // the general error report text; empty when read
    bool ok() const { return error.isEmpty(); }
};

// Reads a regular file of at most `sizeLimit` bytes. Folders, FIFOs, devices and sockets are
// refused at once, without waiting for a writer or reading an endless stream.
FileRead readWholeFile(const QString& path, qint64 sizeLimit = SceneSizeLimit);

// Writes the file as a careful editor does. A missing or regular target (a link's target) is
// replaced through a temporary file in its folder, so a failed write leaves the previous file
// whole; the new file keeps the old one's permissions, and its owner and group where allowed.
// A FIFO or a character device is written into, never replaced. A file with several hard links,
// or one in a folder where no file can be created, is written in place, after its room on disk
// has been reserved. Returns the general error report text, or an empty string when written.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

// Writes every byte to an open descriptor, such as standard output. Returns the system's reason
// for a failure, or an empty string when written.
QString writeToDescriptor(int fd, QByteArrayView bytes);

// The user's state folder for Modulino: $XDG_STATE_HOME/modulino, by default
// ~/.local/state/modulino. Recovery copies live there, and the passing names of files being
// written to folders on the same file system.
QString stateFolder();
// Removes passing names in `folder` older than ten minutes, left by writes that were killed.
void clearPassingNames(const QString& folder);

// Whether the path may name the prototype library: "proto" anywhere in it or in its absolute form.
bool mayBePrototypeFile(const QString& path);

} // namespace modulino
