#pragma once

#include <QString>

namespace modulino {

struct EditorState;
class UserDialogs;
class RowSelection;
class GroupEditing;

// Pieces between scenes: the clipboard's text and appending another scene file. The clipboard
// holds the pieces' lines as a scene file holds them, in the scene's own axes.
class PieceTransfer {
public:
    PieceTransfer(EditorState& state, UserDialogs& dialogs, RowSelection& selection,
                  GroupEditing& group);

    // "Kopírovat" (Ctrl+C): the selected pieces' lines, for the clipboard.
    QString Kopirovat1Click() const;
    // "Vyjmout" (Ctrl+X): the same text; the pieces are deleted as one step.
    QString Vyjmout1Click();
    // "Vložit" (Ctrl+V): appends the pieces of the clipboard's text as one step and selects
    // them. Lines that are not piece lines are left aside; when no piece can be taken, or a
    // piece line cannot be read, nothing is pasted and the user is told. Returns whether
    // anything was pasted.
    bool Vlozit1Click(const QString& text);
    // "Připojit…": appends the pieces of a scene file chosen in the open dialog, as Open reads
    // them (its library left aside), as one step, and selects them.
    void Pripojit1Click();
    // Appends the pieces of the scene file at `path`; says why when it cannot be read.
    bool appendFile(const QString& path);

private:
    EditorState& s;
    UserDialogs& dialogs;
    RowSelection& selection;
    GroupEditing& group;
};

} // namespace modulino
