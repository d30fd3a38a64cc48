#pragma once

#include <QString>

namespace modulino {

struct EditorState;
class UserDialogs;
class SceneCommands;

// New scene and the end of the program.
class SceneLifecycle {
public:
    SceneLifecycle(EditorState& state, UserDialogs& dialogs, SceneCommands& commands);

    void Nov1Click();
    // Whether the window may close; asks, and offers to save an unsaved scene.
    bool FormCloseQuery();
    // The window closes: give back the default locale, delete the preview file.
    void FormClose();

private:
    EditorState& s;
    UserDialogs& dialogs;
    SceneCommands& commands;
};

} // namespace modulino
