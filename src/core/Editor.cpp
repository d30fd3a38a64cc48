#include "Editor.h"

#include "app/Startup.h"

namespace modulino {

void Editor::FormCreate(const QString& workingDirectory) {
    modulino::FormCreate(state, dialogs, workingDirectory);
}

} // namespace modulino
