#include "commands/Viewer.h"

#include <QFileInfo>
#include <QProcess>

namespace modulino {

bool openInDesktopViewer(const QString& path, const QString& opener) {
    // An absolute path never starts with '-', so the opener cannot take it for an option.
    return QProcess::startDetached(opener, {QFileInfo(path).absoluteFilePath()});
}

} // namespace modulino
