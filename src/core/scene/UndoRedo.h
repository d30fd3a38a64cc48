#pragma once

namespace modulino {

struct EditorState;
struct ControlsShown;

// "Zpět" and "Znovu": step back and forth through the scene's history. The piece a step changed
// becomes current, and the controls show it as they did at that point.
class UndoRedo {
public:
    explicit UndoRedo(EditorState& state);

    void ZpetClick();
    void ZnovuClick();

private:
    void show(const ControlsShown& shown);

    EditorState& s;
};

} // namespace modulino
