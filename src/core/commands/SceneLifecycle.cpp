#include "commands/SceneLifecycle.h"

#include "base/UserDialogs.h"
#include "commands/SceneCommands.h"
#include "commands/SceneFileGuard.h"
#include "scene/EditorState.h"
#include "vrml/SceneWriter.h"

#include <QFile>

namespace modulino {

SceneLifecycle::SceneLifecycle(EditorState& state, UserDialogs& dialogs, SceneCommands& commands)
    : s(state)
    , dialogs(dialogs)
    , commands(commands) {}

void SceneLifecycle::Nov1Click() {
    if (!s.SceneSaved && !dialogs.confirm(s.texts.MessageTexts[2]))
        return;
    const History::Pause fresh(s.history);
    s.history.clear();
    s.Shape2 = DefaultBackground;
    s.Shape1 = White;
    // The variant whose corner picture is shown; a library read from a file is dropped.
    s.prototyp = s.BackCornerMode ? s.zalohan : s.zaloha;
    s.jmeno = s.texts.MessageTexts[3];
    s.SceneSaved = true;
    s.fileName.clear();
    forgetSceneFile(s);

    PieceTable::Batch batch(s.SGDilky);
    s.SGDilky.setHeaderFixed(false);
    s.SGDilky.removePieces();
    s.SGDilky.setCurrentRow(0);
}

bool SceneLifecycle::FormCloseQuery() {
    if (!dialogs.confirm(s.texts.MessageTexts[11]))
        return false;
    if (s.SceneSaved)
        return true;
    ComposeScene(s);
    switch (dialogs.confirmYesNo(s.texts.MessageTexts[10])) {
    case UserDialogs::Answer::No:
        return true;
    case UserDialogs::Answer::Cancel:
        return false;
    case UserDialogs::Answer::Yes:
        break;
    }
    if (!s.sceneNamed())
        return commands.saveThroughDialog();
    if (const auto changed = replaceChangedFile(s, dialogs, s.fileName)) {
        if (!*changed)
            return false;
    } else if (dialogs.confirmYesNoCancel(commands.overwriteQuestion()) != UserDialogs::Answer::Yes)
        return false;
    return commands.writeToCurrentFile();
}

void SceneLifecycle::FormClose() {
    QLocale::setDefault(s.SavedDecimalSeparator);
    s.sceneLock.release();
    // Only the preview's own file, unchanged since it was written: never a file of someone else's.
    if (s.previewFile && regularFileAt(s.PreviewFileName) == s.previewFile)
        QFile::remove(s.PreviewFileName);
}

} // namespace modulino
