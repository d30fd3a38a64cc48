#pragma once

#include "scene/Controls.h"
#include "scene/EditorState.h"

namespace modulino {

class UserDialogs;

// Adding, deleting and selecting pieces, and every control that edits the current piece.
class PieceEditing {
public:
    PieceEditing(EditorState& state, UserDialogs& dialogs);

    void PridejClick();
    void DelClick();
    // Appends a copy of the current piece, all twelve cells as they are, and selects it.
    void Duplikovat1Click();
    // The table is about to make a cell of this row current (click, keys, or the program).
    void SGDilkySelectCell(int column, int row);
    // The pointer moved over the table; x in the table's client pixels.
    void SGDilkyMouseMove(int x);

    // The user chose item `index` of the shape list.
    void TvarChange(int index);
    // One press of an up-down arrow (direction +1 up, -1 down). At a bound nothing moves and
    // the handler does not run; returns whether it ran.
    bool pressUpDown(UpDownId id, int direction);
    // The handler of an up-down after its position has moved one step.
    void UDClick(UpDownId id);
    // Sets the tick of CBovl; a changed tick runs CBovlClick.
    void setCBovl(bool ticked);
    void CBovlClick();
    void Shape1MouseDown();
    void Shape2MouseDown();
    // A value typed into a size or position cell of the current piece. A valid one is written in
    // tenths, taken by the column's up-down and checked as an arrow click is; returns whether it
    // was taken. Anything else changes nothing.
    bool SGDilkySetEditText(int column, int row, QStringView text);
    // The hide-controls box was clicked to this tick.
    void CBSkrytClick(bool ticked);

    // The shape check after a shape or size change: may rename the shape, sets the warning.
    void Vyzva();

    // Makes a row current the way the table does: the row becomes the table's current row and
    // the selection handler runs for it.
    void selectRow(int row);
    // Makes a row just read from a file current: as selectRow, but without the colour dialog and
    // with a shape check that warns without renaming, so the rows stay as the file holds them.
    void selectReadRow(int row);

private:
    void chooseColourOfRow(int row);
    void loadRowIntoControls(int row);

    EditorState& s;
    UserDialogs& dialogs;
    bool shapeCheckRenames = true;
};

} // namespace modulino
