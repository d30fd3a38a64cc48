#include "commands/SceneLifecycle.h"

#include "app/UserDialogs.h"
#include "scene/EditorState.h"

namespace modulino {

SceneLifecycle::SceneLifecycle(EditorState& state, UserDialogs& dialogs, PieceEditing& editing,
                               SceneCommands& commands)
    : s(state)
    , dialogs(dialogs)
    , editing(editing)
    , commands(commands)
{
}

void SceneLifecycle::Nast1Click() {}
void SceneLifecycle::Nov1Click() {}
bool SceneLifecycle::FormCloseQuery() { return true; }
void SceneLifecycle::FormClose() {}
SceneLifecycle::OpenResult SceneLifecycle::openFile(const QString&) { return OpenResult::NotReadable; }

} // namespace modulino
