#pragma once

#include <QString>

namespace modulino {

struct EditorState;
class UserDialogs;
class PieceEditing;

// Opening a scene file for editing.
class SceneOpening {
public:
    SceneOpening(EditorState& state, UserDialogs& dialogs, PieceEditing& editing);

    // "Načíst" (Ctrl+O): asks before dropping unsaved changes, then the open dialog.
    void Nast1Click();

    enum class OpenResult { Opened, NotReadable, WrongForm };
    // Reads the file at `path` into the editor as the open command does after its dialog, with the
    // same messages: the general error report for a file that cannot be read (nothing changes),
    // MessageTexts[5] for one that is not a scene (nothing changes either).
    OpenResult openFile(const QString& path);

private:
    EditorState& s;
    UserDialogs& dialogs;
    PieceEditing& editing;
};

} // namespace modulino
