#include "commands/PieceTransfer.h"

#include "base/SceneFile.h"
#include "base/UserDialogs.h"
#include "scene/EditorState.h"
#include "scene/GroupEditing.h"
#include "scene/RowSelection.h"
#include "vrml/SceneReader.h"
#include "vrml/SceneWriter.h"
#include "vrml/TextLines.h"

namespace modulino {

PieceTransfer::PieceTransfer(EditorState& state, UserDialogs& dialogs, RowSelection& selection,
                             GroupEditing& group)
    : s(state)
    , dialogs(dialogs)
    , selection(selection)
    , group(group) {}

// Each piece keeps its own controls flag: "Skrýt ovladače" belongs to the scene it was copied from.
QString PieceTransfer::Kopirovat1Click() const {
    const SceneParts parts{s.prototyp, s.Shape2, s.SGDilky, s.texts, s.AxisOrder, false};
    return decode1250(pieceLines(parts, selection.selectedRows()));
}

QString PieceTransfer::Vyjmout1Click() {
    QString text = Kopirovat1Click();
    if (!text.isEmpty())
        group.DelClick();
    return text;
}

bool PieceTransfer::Vlozit1Click(const QString& text) {
    auto rows = readPieceLines(encode1250(text), s);
    if (!rows || rows->empty()) {
        dialogs.message(s.texts.notices.NothingPasted);
        return false;
    }
    group.appendPieces(std::move(*rows));
    return true;
}

void PieceTransfer::Pripojit1Click() {
    if (const auto path = dialogs.chooseFileToOpen(s.dialogFolder))
        appendFile(*path);
}

bool PieceTransfer::appendFile(const QString& path) {
    const FileRead file = readWholeFile(path);
    if (!file.ok()) {
        dialogs.errorReport(file.error);
        return false;
    }
    auto rows = readScenePieces(file.bytes, s);
    if (!rows) {
        dialogs.message(s.texts.MessageTexts[5]);
        return false;
    }
    if (!rows->empty())
        group.appendPieces(std::move(*rows));
    return true;
}

} // namespace modulino
