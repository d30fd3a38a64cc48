#pragma once

#include <QString>

namespace modulino::view {

// A scene file as the viewer hands it to X_ITE: its bytes decoded once from Windows-1250.
struct SceneSource {
    QString text;
    int pieces = 0; // the piece lines the editor writes ("Dilek { ...")
    QString error;  // why the file could not be read; empty when it was

    bool readable() const { return error.isEmpty(); }
};

SceneSource readSceneSource(const QString& path);

} // namespace modulino::view
