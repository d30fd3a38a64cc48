#include "commands/SceneOpening.h"

#include "base/SceneFile.h"
#include "base/UserDialogs.h"
#include "commands/SceneFileGuard.h"
#include "scene/EditorState.h"
#include "scene/PieceEditing.h"
#include "vrml/SceneReader.h"

namespace modulino {

SceneOpening::SceneOpening(EditorState& state, UserDialogs& dialogs, PieceEditing& editing)
    : s(state)
    , dialogs(dialogs)
    , editing(editing) {}

void SceneOpening::Nast1Click() {
    if (!s.SceneSaved && !dialogs.confirm(s.texts.MessageTexts[2]))
        return;
    const auto path = dialogs.chooseFileToOpen(s.dialogFolder);
    if (!path)
        return;
    openFile(*path);
}

SceneOpening::OpenResult SceneOpening::openFile(const QString& path) {
    const FileRead file = readWholeFile(path);
    if (!file.ok()) {
        dialogs.errorReport(file.error);
        return OpenResult::NotReadable;
    }
    if (!readScene(s, editing, file.bytes)) {
        dialogs.message(s.texts.MessageTexts[5]);
        return OpenResult::WrongForm;
    }
    s.fileName = path;
    s.jmeno = path;
    s.lbBodVisible = true;
    s.history.clear();
    s.SceneSaved = true;
    rememberSceneFile(s, dialogs, path);
    return OpenResult::Opened;
}

} // namespace modulino
