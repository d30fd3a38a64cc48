#include "scene/WheelEditing.h"

#include "scene/EditorState.h"
#include "scene/Numbers.h"
#include "scene/PieceEditing.h"

namespace modulino {

WheelEditing::WheelEditing(EditorState& state, PieceEditing& editing)
    : s(state)
    , editing(editing) {}

void WheelEditing::SGDilkyMouseWheelDown(Held held) {
    notch(-1, held);
}

void WheelEditing::SGDilkyMouseWheelUp(Held held) {
    notch(+1, held);
}

void WheelEditing::notch(int direction, Held held) {
    const int column = s.MouseColumn;
    const int row = s.CurrentRow;
    PieceTable& table = s.SGDilky;
    const bool hasCell = table.isPieceRow(row);
    const History::Step step(s.history, MergeKey::cell(row, column));
    if (hasCell && column >= PieceTable::ShapeColumn && column <= PieceTable::ControlsColumn)
        s.SceneSaved = false;

    if (column == PieceTable::ShapeColumn) {
        s.Tvar.step(direction);
        if (hasCell)
            table.setCell(column, row, s.Tvar.text);
        editing.Vyzva();
    } else if (column >= PieceTable::RxColumn && column <= PieceTable::ZColumn) {
        const auto id = UpDownId(column - PieceTable::RxColumn);
        UpDown& upDown = s.upDown(id);
        const int step = held.shift || held.leftButton ? 1 : 10;
        upDown.setPosition(upDown.position + direction * step);
        const bool size = isSizeUpDown(id);
        if (hasCell)
            table.setCell(column, row, TenthsText(upDown.position, size ? 2 : 3));
        if (size)
            editing.Vyzva();
    } else if (column == PieceTable::ControlsColumn) {
        editing.setCBovl(!s.CBovl);
        if (hasCell)
            table.setCell(column, row, s.CBovl ? s.texts.YesText : s.texts.NoText);
    }
}

} // namespace modulino
