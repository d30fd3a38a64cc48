#pragma once

#include <QString>
#include <optional>

namespace modulino {

struct EditorState;
class UserDialogs;
class SceneOpening;

// The editor read or wrote the scene at `path`: remembers which file stands there and marks it as
// open here, telling the user when another editor has it open too.
void rememberSceneFile(EditorState& state, UserDialogs& dialogs, const QString& path);
// A new scene: no file is remembered or marked any more.
void forgetSceneFile(EditorState& state);
// Whether `path` holds another file than the one last read or written there (a missing file or a
// path never read or written is not changed).
bool changedOnDisk(const EditorState& state, const QString& path);
// Before `path` is replaced: nothing when it is unchanged on disk, else the answer to the question
// whether to replace another program's changes, whose default is No.
std::optional<bool> replaceChangedFile(const EditorState& state, UserDialogs& dialogs,
                                       const QString& path);
// The window became active: once for each change on disk to the current file, offers to read it
// again; the question says when unsaved changes would be lost, and then defaults to No.
void FormActivate(EditorState& state, UserDialogs& dialogs, SceneOpening& opening);

} // namespace modulino
