#pragma once

namespace modulino {

struct EditorState;
class PieceEditing;

// The mouse wheel over the focused table edits the current piece in the column under the pointer.
class WheelEditing {
public:
    // Fine steps (1 tenth) while Shift or the left mouse button is held, else 10 tenths.
    struct Held {
        bool shift = false;
        bool leftButton = false;
    };

    WheelEditing(EditorState& state, PieceEditing& editing);

    void SGDilkyMouseWheelDown(Held held);
    void SGDilkyMouseWheelUp(Held held);

private:
    void notch(int direction, Held held);

    EditorState& s;
    PieceEditing& editing;
};

} // namespace modulino
