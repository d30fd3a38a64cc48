#include "commands/SceneCommands.h"

#include "base/PreviewFileName.h"
#include "base/SceneFile.h"
#include "base/UserDialogs.h"
#include "commands/SceneFileGuard.h"
#include "scene/EditorState.h"
#include "vrml/SceneWriter.h"

#include <QFileInfo>

namespace modulino {

namespace {

// A file, not a folder, stands at the path.
bool fileExists(const QString& path) {
    return QFileInfo(path).isFile();
}

} // namespace

SceneCommands::SceneCommands(EditorState& state, UserDialogs& dialogs)
    : s(state)
    , dialogs(dialogs) {}

// The preview writes only its own file: a scene saved under its name, another editor's preview
// or a link there make it move to a free name.
void SceneCommands::NahledClick() {
    ComposeScene(s);
    choosePreviewTarget(s.PreviewFileName, s.previewFile);
    if (!write(s.PreviewFileName))
        return;
    s.previewFile = regularFileAt(s.PreviewFileName);
    dialogs.openInViewer(s.PreviewFileName);
}

void SceneCommands::Uloit1Click() {
    if (s.SceneSaved)
        return;
    ComposeScene(s);
    if (!s.sceneNamed()) {
        saveThroughDialog();
        return;
    }
    const auto changed = replaceChangedFile(s, dialogs, s.fileName);
    if (changed ? *changed : dialogs.confirm(overwriteQuestion()))
        writeToCurrentFile();
}

void SceneCommands::Uloitjako1Click() {
    ComposeScene(s);
    saveThroughDialog();
}

void SceneCommands::Zobrazituloenou1Click() {
    if (!s.sceneNamed()) {
        dialogs.message(s.texts.MessageTexts[9]);
        return;
    }
    if (!fileExists(s.fileName))
        Uloit1Click();
    // The viewer is handed only a file that is there: a missing one is told here.
    if (!fileExists(s.fileName)) {
        dialogs.message(s.texts.MessageTexts[8]);
        return;
    }
    dialogs.openInViewer(s.fileName);
}

bool SceneCommands::saveThroughDialog() {
    const auto chosen = dialogs.chooseFileToSave(s.fileName, s.dialogFolder);
    if (!chosen)
        return false;
    const QString previous = s.fileName;
    // The dialog keeps a confirmed name, also one refused as the prototype file.
    s.fileName = *chosen;
    if (refusedAsPrototypeFile(*chosen))
        return false;
    if (replaceChangedFile(s, dialogs, *chosen) == false || !write(*chosen)) {
        s.fileName = previous;
        return false;
    }
    s.jmeno = *chosen;
    s.markSaved();
    rememberSceneFile(s, dialogs, *chosen);
    return true;
}

bool SceneCommands::writeToCurrentFile() {
    if (refusedAsPrototypeFile(s.fileName) || !write(s.fileName))
        return false;
    s.markSaved();
    rememberSceneFile(s, dialogs, s.fileName);
    return true;
}

QString SceneCommands::overwriteQuestion() const {
    return s.texts.MessageTexts[6] + QStringLiteral("\r\n") + s.fileName + QStringLiteral(" ?");
}

// Any path with "proto" in it, in the file's name or in a folder's, may be the prototype file.
bool SceneCommands::refusedAsPrototypeFile(const QString& path) {
    if (!mayBePrototypeFile(path))
        return false;
    dialogs.message(s.texts.MessageTexts[7]);
    return true;
}

// A failed write is reported and leaves any previous file whole.
bool SceneCommands::write(const QString& path) {
    const QString error = writeWholeFile(path, s.Final);
    if (error.isEmpty())
        return true;
    dialogs.errorReport(error);
    return false;
}

} // namespace modulino
