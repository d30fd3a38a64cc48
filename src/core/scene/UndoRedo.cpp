#include "scene/UndoRedo.h"

#include "scene/EditorState.h"

namespace modulino {

UndoRedo::UndoRedo(EditorState& state)
    : s(state) {}

void UndoRedo::ZpetClick() {
    if (const ControlsShown* shown = s.history.undo())
        show(*shown);
}

void UndoRedo::ZnovuClick() {
    if (const ControlsShown* shown = s.history.redo())
        show(*shown);
}

void UndoRedo::show(const ControlsShown& shown) {
    PieceTable& table = s.SGDilky;
    table.setHeaderFixed(shown.headerFixed);
    table.setWholeRowSelect(shown.wholeRows);
    table.setCurrentRow(shown.tableRow);
    table.setSelectionRanges(shown.selection);
    s.CurrentRow = shown.CurrentRow;
    for (std::size_t i = 0; i < shown.positions.size(); ++i)
        s.upDowns[i].setPosition(shown.positions[i]);
    s.Tvar.selected = shown.shapeSelected;
    s.Tvar.text = shown.shapeText;
    s.CBovl = shown.CBovl;
    s.Shape1 = shown.Shape1;
    s.varovani = shown.varovani;
}

} // namespace modulino
