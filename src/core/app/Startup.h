#pragma once

#include <QString>

namespace modulino {

struct EditorState;
class UserDialogs;

// The start-up sequence the main window runs once before it is first shown. "lang.txt" and
// "proto.wrl" are looked for in `workingDirectory`.
void FormCreate(EditorState& state, UserDialogs& dialogs, const QString& workingDirectory);

} // namespace modulino
