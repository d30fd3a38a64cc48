#pragma once

#include <vector>

namespace modulino {

struct EditorState;
class PieceEditing;

// Selecting several pieces beside the current one. A plain selection (PieceEditing::selectRow)
// selects one row; these handlers extend, thin or fill the selection. The row they act on last
// becomes current and the controls show it, as a plain selection does.
class RowSelection {
public:
    RowSelection(EditorState& state, PieceEditing& editing);

    // Ctrl+click (in the table, or on a piece in the view): the row joins the selection and
    // becomes current, or leaves it when it was selected; the last selected row never leaves.
    void SGDilkyToggleRow(int row);
    // Shift+click, Shift+arrow keys: the rows from the anchor (the row current when the selection
    // was one row, or the row last toggled) to `row` are the selection; `row` becomes current.
    void SGDilkyExtendTo(int row);
    // "Vybrat vše" (Ctrl+A).
    void VybratVse1Click();
    // "Vybrat stejný tvar", "Vybrat stejnou barvu": every piece with the current piece's shape
    // cell, or colour cell.
    void VybratTvar1Click();
    void VybratBarvu1Click();

    // Selects `rows` (ascending piece rows), with `current` among them made current; rows just
    // read from text are made current as the reader makes them (PieceEditing::selectReadRow).
    void selectRows(const std::vector<int>& rows, int current, bool read = false);
    // The selected piece rows in ascending order.
    std::vector<int> selectedRows() const;

private:
    void selectAlike(int column);
    void makeCurrent(int row);

    EditorState& s;
    PieceEditing& editing;
    int anchor = 0;
};

} // namespace modulino
