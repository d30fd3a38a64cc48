#include "commands/SceneFileGuard.h"

#include "base/UserDialogs.h"
#include "commands/SceneOpening.h"
#include "scene/EditorState.h"

#include <QFileInfo>

namespace modulino {

namespace {

bool samePath(const QString& a, const QString& b) {
    return !a.isEmpty() && QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

} // namespace

void rememberSceneFile(EditorState& s, UserDialogs& dialogs, const QString& path) {
    s.diskPath = path;
    s.diskFile = fileAt(path);
    s.reloadDeclined.reset();
    if (const auto holder = s.sceneLock.take(path))
        dialogs.message(s.texts.notices.OpenElsewhere.arg(path, holder->user, holder->host,
                                                          QString::number(holder->pid)));
}

void forgetSceneFile(EditorState& s) {
    s.diskPath.clear();
    s.diskFile.reset();
    s.reloadDeclined.reset();
    s.sceneLock.release();
}

bool changedOnDisk(const EditorState& s, const QString& path) {
    if (!s.diskFile || !samePath(s.diskPath, path))
        return false;
    const auto now = fileAt(path);
    return now && *now != *s.diskFile;
}

std::optional<bool> replaceChangedFile(const EditorState& s, UserDialogs& dialogs,
                                       const QString& path) {
    if (!changedOnDisk(s, path))
        return std::nullopt;
    return dialogs.confirmWithDefault(s.texts.notices.ChangedOnDisk.arg(path),
                                      UserDialogs::Answer::No);
}

void FormActivate(EditorState& s, UserDialogs& dialogs, SceneOpening& opening) {
    if (!s.sceneNamed() || !changedOnDisk(s, s.fileName))
        return;
    const auto now = fileAt(s.fileName);
    if (s.reloadDeclined == now)
        return;
    s.reloadDeclined = now; // before asking: the box itself activates the window again
    const Notices& notices = s.texts.notices;
    const bool read = s.SceneSaved
                          ? dialogs.confirmWithDefault(notices.ReloadChanged.arg(s.fileName),
                                                       UserDialogs::Answer::Yes)
                          : dialogs.confirmWithDefault(notices.ReloadLosing.arg(s.fileName),
                                                       UserDialogs::Answer::No);
    if (read)
        opening.openFile(s.fileName);
}

} // namespace modulino
