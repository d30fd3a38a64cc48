#pragma once

#include <QString>

namespace modulino {

// A special file made for a test: "FIFO", "FIFO+writer" (held open for writing, which never
// blocks), "device" (a character device like /dev/null) or "folder". `error` tells why it could
// not be made here, for a QSKIP.
struct SpecialFile {
    SpecialFile(const QString& kind, const QString& path);
    ~SpecialFile();
    SpecialFile(const SpecialFile&) = delete;
    SpecialFile& operator=(const SpecialFile&) = delete;

    QString error;
    int writer = -1;
};

} // namespace modulino
