#include "commands/SceneOpening.h"

#include "app/UserDialogs.h"
#include "scene/EditorState.h"
#include "scene/PieceEditing.h"

namespace modulino {

SceneOpening::SceneOpening(EditorState& state, UserDialogs& dialogs, PieceEditing& editing)
    : s(state)
    , dialogs(dialogs)
    , editing(editing) {}

void SceneOpening::Nast1Click() {}

SceneOpening::OpenResult SceneOpening::openFile(const QString&) {
    return OpenResult::NotReadable;
}

} // namespace modulino
