#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QObject>
#include <array>
#include <variant>

namespace modulino {

struct EditorState;
class GroupEditing;
class PieceEditing;
class RowSelection;

// The messages between the editor and the viewer that shows its preview file: one JSON object a
// line. Pieces are counted from 1 in the order of the file's piece lines, which is the order of
// the table's rows. The file itself carries the scene; the link carries only what it cannot.
namespace link {

// Editor to view: the pieces selected in the table and the current one (0 for none).
struct Selection {
    QList<int> pieces;
    int current = 0;
    bool operator==(const Selection&) const = default;
};
// Editor to view: turn the camera to frame the current piece.
struct Frame {
    bool operator==(const Frame&) const = default;
};
// View to editor: a click on a piece's body; ctrl tells whether Ctrl was held.
struct Pick {
    int piece = 0;
    bool ctrl = false;
    bool operator==(const Pick&) const = default;
};
// View to editor: a piece let go after a drag with its manipulators, moved by `move` in the
// file's own axes and scene units.
struct Drag {
    int piece = 0;
    std::array<double, 3> move{};
    bool operator==(const Drag&) const = default;
};

using Message = std::variant<std::monostate, Selection, Frame, Pick, Drag>;

// The line for a message, with its '\n'.
QByteArray encode(const Message& message);
// The message of a line; std::monostate for anything that is not one.
Message decode(QByteArrayView line);

} // namespace link

// The editor's side of the link: what it sends after a handler and what a message from the view
// does to the scene.
class ViewLinking {
public:
    ViewLinking(EditorState& state, PieceEditing& editing, RowSelection& rows, GroupEditing& group);
    ~ViewLinking();
    ViewLinking(const ViewLinking&) = delete;
    ViewLinking& operator=(const ViewLinking&) = delete;

    // Takes a line from the view; returns the message it carried (std::monostate when ignored).
    link::Message take(QByteArrayView line);
    // The piece becomes the current row exactly as a click on its row makes it; with Ctrl it joins
    // or leaves the selection as a Ctrl+click on its row does.
    void pickInView(const link::Pick& pick);
    // The drag's move, in tenths, is added to the piece's position cells as a value typed into
    // them: one undo step, in the axis convention in force, held within the arrows' range.
    void dragInView(const link::Drag& drag);

    // The selection the view should mark.
    link::Selection selection() const;
    // The selection line when it differs from the one last sent (or `always`); empty otherwise.
    QByteArray selectionToSend(bool always = false);

private:
    EditorState& s;
    PieceEditing& editing;
    RowSelection& rows;
    GroupEditing& group;
    link::Selection sent{{}, -1};
    // The table told of a new selection or of moved rows since the selection was last read.
    bool selectionMoved = true;
    QList<QMetaObject::Connection> heard;
};

} // namespace modulino
