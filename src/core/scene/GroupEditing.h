#pragma once

#include "base/UserDialogs.h"
#include "scene/Controls.h"
#include "scene/PieceTable.h"
#include "scene/WheelEditing.h"

#include <QStringView>
#include <optional>
#include <vector>

namespace modulino {

struct EditorState;
class PieceEditing;
class RowSelection;

// The editing handlers as the window calls them. With one piece selected each hands the event to
// the single-piece handler unchanged; with several it changes every selected piece, as one undo
// step, and runs the shape check for each piece that changed.
class GroupEditing {
public:
    GroupEditing(EditorState& state, UserDialogs& dialogs, PieceEditing& editing,
                 WheelEditing& wheel, RowSelection& selection);

    // An arrow adds the same step to every selected piece, each held in its own range.
    bool pressUpDown(UpDownId id, int direction);
    void wheelNotch(int direction, WheelEditing::Held held);
    // A typed value is set on every selected piece.
    bool SGDilkySetEditText(int column, int row, QStringView text);
    void TvarChange(int index);
    void setCBovl(bool ticked);
    void Shape1MouseDown();
    // Deletes every selected piece; the piece after the first of them becomes current.
    void DelClick();
    // Appends copies of the selected pieces, in their order, and selects the copies.
    void Duplikovat1Click();
    // "Pole…": asks for a count and an offset and appends that many shifted copies of the
    // selection, the k-th moved by k times the offset, and selects them.
    void Pole1Click();
    // Whether the array would hold a copy's position at the edge of its range.
    bool arrayClamps(const ArrayRequest& request) const;
    // Appends the copies of an array without asking; returns whether any was made.
    bool makeArray(const ArrayRequest& request);
    // Appends pieces read from elsewhere as one step and selects them, the last one current; their
    // shapes stay as read, as Open keeps them.
    void appendPieces(std::vector<PieceRow> rows);

private:
    bool grouped() const;
    // The value of an up-down's column in a selected piece, in tenths held in the range.
    std::optional<int> heldValue(int row, UpDownId id) const;
    void stepAll(UpDownId id, int delta);
    void setAll(int column, const QString& text);
    void checkShapes(const std::vector<int>& rows);
    // Appends the rows as one step and selects them, the one at `current` made current (as the
    // reader makes a row current when they were `read`).
    void appendSelected(std::vector<PieceRow> rows, std::size_t current, bool read = false);

    EditorState& s;
    UserDialogs& dialogs;
    PieceEditing& editing;
    WheelEditing& wheel;
    RowSelection& selection;
    ArrayRequest lastArray;
};

} // namespace modulino
