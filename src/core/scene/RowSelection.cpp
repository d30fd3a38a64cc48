#include "scene/RowSelection.h"

#include "scene/EditorState.h"
#include "scene/PieceEditing.h"

namespace modulino {

RowSelection::RowSelection(EditorState& state, PieceEditing& editing)
    : s(state)
    , editing(editing) {}

// The row becomes current in the selection and the controls show it, as a plain selection
// shows its row.
void RowSelection::makeCurrent(int row) {
    s.SGDilky.setCurrentInSelection(row);
    editing.SGDilkySelectCell(0, row);
}

void RowSelection::SGDilkyToggleRow(int row) {
    PieceTable& table = s.SGDilky;
    if (!table.isPieceRow(row))
        return;
    s.history.stopMerging();
    anchor = row;
    if (!table.isSelected(row)) {
        makeCurrent(row);
        return;
    }
    if (table.selectedCount() == 1)
        return;
    table.setSelected(row, false);
    if (row != table.currentRow())
        return;
    // The current piece left the selection: the nearest selected row takes its place.
    const std::vector<int> rows = table.selectedRows();
    const auto after = std::ranges::lower_bound(rows, row);
    makeCurrent(after != rows.end() ? *after : rows.back());
}

void RowSelection::SGDilkyExtendTo(int row) {
    PieceTable& table = s.SGDilky;
    if (!table.isPieceRow(row))
        return;
    if (!table.hasGroup() || !table.isSelected(anchor))
        anchor = table.isPieceRow(table.currentRow()) ? table.currentRow() : row;
    const int from = anchor;
    s.history.stopMerging();
    editing.selectRow(row);
    table.setSelectionRanges({{std::min(from, row), std::max(from, row)}});
    anchor = from;
}

void RowSelection::VybratVse1Click() {
    PieceTable& table = s.SGDilky;
    if (table.isEmpty())
        return;
    s.history.stopMerging();
    table.setSelectionRanges({{1, table.rowCount() - 1}});
}

void RowSelection::VybratTvar1Click() {
    selectAlike(PieceTable::ShapeColumn);
}

void RowSelection::VybratBarvu1Click() {
    selectAlike(PieceTable::ColourColumn);
}

void RowSelection::selectAlike(int column) {
    PieceTable& table = s.SGDilky;
    const int current = table.currentRow();
    if (!table.isPieceRow(current))
        return;
    s.history.stopMerging();
    const QString like = table.cell(column, current);
    RowRanges ranges;
    for (int row = 1; row < table.rowCount(); ++row)
        if (table.cell(column, row) == like)
            addToRanges(ranges, row);
    table.setCurrentRow(current);
    table.setSelectionRanges(ranges);
}

void RowSelection::selectRows(const std::vector<int>& rows, int current, bool read) {
    PieceTable& table = s.SGDilky;
    s.OverColourColumn = false;
    if (read)
        editing.selectReadRow(current);
    else
        editing.selectRow(current);
    RowRanges ranges;
    for (int row : rows)
        addToRanges(ranges, row);
    table.setSelectionRanges(ranges);
}

std::vector<int> RowSelection::selectedRows() const {
    return s.SGDilky.selectedRows();
}

} // namespace modulino
