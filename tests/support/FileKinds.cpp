#include "FileKinds.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace modulino {

SpecialFile::SpecialFile(const QString& kind, const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    bool made = false;
    if (kind.startsWith(QLatin1String("FIFO")))
        made = ::mkfifo(name.constData(), 0644) == 0;
    else if (kind == QLatin1String("device"))
        made = ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    else if (kind == QLatin1String("folder"))
        made = QDir().mkdir(path);
    if (made && kind.endsWith(QLatin1String("+writer")))
        made = (writer = ::open(name.constData(), O_RDWR | O_NONBLOCK)) >= 0;
    if (!made)
        error = QStringLiteral("cannot make a %1 here: %2").arg(kind, qt_error_string(errno));
}

SpecialFile::~SpecialFile() {
    if (writer >= 0)
        ::close(writer);
}

} // namespace modulino
