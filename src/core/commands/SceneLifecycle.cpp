#include "commands/SceneLifecycle.h"

#include "app/UserDialogs.h"
#include "commands/SceneCommands.h"
#include "scene/EditorState.h"

namespace modulino {

SceneLifecycle::SceneLifecycle(EditorState& state, UserDialogs& dialogs, SceneCommands& commands)
    : s(state)
    , dialogs(dialogs)
    , commands(commands) {}

void SceneLifecycle::Nov1Click() {}
bool SceneLifecycle::FormCloseQuery() {
    return true;
}
void SceneLifecycle::FormClose() {}

} // namespace modulino
