#include "commands/SceneCommands.h"

#include "app/UserDialogs.h"
#include "scene/EditorState.h"

namespace modulino {

SceneCommands::SceneCommands(EditorState& state, UserDialogs& dialogs)
    : s(state)
    , dialogs(dialogs) {}

void SceneCommands::NahledClick() {}
void SceneCommands::Uloit1Click() {}
void SceneCommands::Uloitjako1Click() {}
void SceneCommands::Zobrazituloenou1Click() {}
bool SceneCommands::saveThroughDialog() {
    return false;
}
bool SceneCommands::writeToCurrentFile() {
    return false;
}
bool SceneCommands::refusedAsPrototypeFile(const QString&) {
    return false;
}
bool SceneCommands::write(const QString&) {
    return false;
}

} // namespace modulino
