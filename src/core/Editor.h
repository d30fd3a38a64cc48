#pragma once

#include "app/OptionPanels.h"
#include "base/UserDialogs.h"
#include "commands/PieceTransfer.h"
#include "commands/PreviewFollowing.h"
#include "commands/Recovery.h"
#include "commands/SceneCommands.h"
#include "commands/SceneExport.h"
#include "commands/SceneFileGuard.h"
#include "commands/SceneLifecycle.h"
#include "commands/SceneOpening.h"
#include "commands/ViewLink.h"
#include "scene/EditorState.h"
#include "scene/GroupEditing.h"
#include "scene/PieceEditing.h"
#include "scene/RowSelection.h"
#include "scene/UndoRedo.h"
#include "scene/WheelEditing.h"

#include <QDir>

namespace modulino {

// The editor without its window: the state and every handler, grouped by what they do.
class Editor {
public:
    explicit Editor(UserDialogs& dialogs)
        : dialogs(dialogs) {}
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    void FormCreate(const QString& workingDirectory = QDir::currentPath());
    // The window became active: a file changed on disk may be read again.
    void FormActivate() { modulino::FormActivate(state, dialogs, opening); }
    // At start-up, before any file is opened: restores a copy left by an editor that ended.
    bool offerRecovery() { return recovery.offerLeftCopies(dialogs, opening); }

    UserDialogs& dialogs;
    EditorState state;
    PieceEditing editing{state, dialogs};
    WheelEditing wheel{state, editing};
    UndoRedo undoRedo{state};
    OptionPanels panels{state};
    SceneCommands commands{state, dialogs};
    SceneOpening opening{state, dialogs, editing};
    SceneLifecycle lifecycle{state, dialogs, commands};
    // Several pieces at once: the window's editing events go through `group`, which hands them to
    // `editing` and `wheel` while one piece is selected.
    RowSelection selection{state, editing};
    GroupEditing group{state, dialogs, editing, wheel, selection};
    PieceTransfer transfer{state, dialogs, selection, group};
    PreviewFollowing preview{state, commands, dialogs};
    ViewLinking link{state, editing, selection, group};
    SceneExport exporting{state, dialogs};
    RecoveryCopy recovery{state};
};

} // namespace modulino
