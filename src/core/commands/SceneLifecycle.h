#pragma once

#include <QString>

namespace modulino {

struct EditorState;
class UserDialogs;
class PieceEditing;
class SceneCommands;

// Open, new scene, and the end of the program.
class SceneLifecycle {
public:
    SceneLifecycle(EditorState& state, UserDialogs& dialogs, PieceEditing& editing,
                   SceneCommands& commands);

    void Nast1Click();
    void Nov1Click();
    // Whether the window may close; asks and offers to save.
    bool FormCloseQuery();
    // The window closes: restore the locale, delete the preview file.
    void FormClose();

    enum class OpenResult { Opened, NotReadable, WrongForm };
    // Reads the file at `path` into the editor as the open command does after its dialog, with the
    // same messages.
    OpenResult openFile(const QString& path);

private:
    EditorState& s;
    UserDialogs& dialogs;
    PieceEditing& editing;
    SceneCommands& commands;
};

} // namespace modulino
