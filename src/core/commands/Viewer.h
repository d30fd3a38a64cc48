#pragma once

#include <QString>

namespace modulino {

// Hands a file to the desktop's viewer: starts `opener` detached, with the file's absolute path as
// its one argument and no shell in between, so any file name arrives as it is. Does not wait.
// False when the opener could not be started.
bool openInDesktopViewer(const QString& path, const QString& opener = QStringLiteral("xdg-open"));

} // namespace modulino
