#pragma once

#include <QByteArray>
#include <QString>

namespace modulino {

// A file's whole content, or why it could not be read.
struct FileRead {
    QByteArray bytes;
    QString error; // the general error report text; empty when read
    bool ok() const { return error.isEmpty(); }
};

FileRead readWholeFile(const QString& path);

// Replaces the file's whole content through a temporary file, so a failed write leaves any previous
// file whole. Returns the general error report text, or an empty string when written.
QString writeWholeFile(const QString& path, const QByteArray& bytes);

} // namespace modulino
