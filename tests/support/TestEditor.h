#pragma once

#include "Editor.h"
#include "ScriptedDialogs.h"

#include <QTemporaryDir>

namespace modulino {

// An editor started the way the window starts it, in an empty working directory of its own, with
// its questions answered from a script.
struct TestEditor {
    TestEditor() { editor.FormCreate(folder.path()); }
    explicit TestEditor(const QString& workingDirectory) { editor.FormCreate(workingDirectory); }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    Editor editor{dialogs};
    EditorState& s = editor.state;

    const QString& cell(int column, int row) const { return s.SGDilky.cell(column, row); }
};

// What undo must give back exactly: every cell of every row and the scene's other fields.
struct SceneSnapshot {
    explicit SceneSnapshot(const EditorState& s)
        : fields(sceneFields(s)) {
        for (int r = 1; r < s.SGDilky.rowCount(); ++r)
            rows << QStringList(s.SGDilky.row(r).cells.begin(), s.SGDilky.row(r).cells.end());
    }
    bool operator==(const SceneSnapshot&) const = default;

    QList<QStringList> rows;
    SceneFields fields;
};

} // namespace modulino
