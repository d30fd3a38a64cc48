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

    void Nast1Click();

    enum class OpenResult { Opened, NotReadable, WrongForm };
    // Reads the file at `path` into the editor as the open command does after its dialog, with the
    // same messages.
    OpenResult openFile(const QString& path);

private:
    EditorState& s;
    UserDialogs& dialogs;
    PieceEditing& editing;
};

} // namespace modulino
