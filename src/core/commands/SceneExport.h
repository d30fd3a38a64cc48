#pragma once

#include <QString>
#include <QStringList>

class QProcess;

namespace modulino {

struct EditorState;
class UserDialogs;

// The export dialog's filters, one per format modulino-view --export writes.
QStringList exportFilters();
// The chosen path, with the first extension of the chosen filter added when it has none of the
// filter's extensions.
QString exportPath(const QString& chosen, int filter);
// modulino-view beside the running program, or in the build tree's src/view, else on the PATH.
QString viewerProgram();
// Why a finished export process failed, in its own words where it gave any; an empty string when
// it succeeded.
QString exportFailure(QProcess& process);

// "Scéna" → "Exportovat…": the current scene, composed as Save composes it, made into glTF, STL
// or X3D by `viewer --export OUT FILE` in a process of its own while the user sees progress.
class SceneExport {
public:
    SceneExport(EditorState& state, UserDialogs& dialogs);

    void Exportovat1Click();

    QString viewer = viewerProgram();

private:
    QString run(const QString& out);

    EditorState& s;
    UserDialogs& dialogs;
};

} // namespace modulino
