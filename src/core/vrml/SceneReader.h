#pragma once

#include <QByteArrayView>

namespace modulino {

class PieceEditing;
struct EditorState;

// The eleven fields of one piece line. Each is a view into the line (the run of characters that
// stood there) or, when that run was empty, a view of its default text.
struct PieceFields {
    QByteArrayView S1, S2, S3; // velikost
    QByteArrayView P1, P2, P3; // poloha
    QByteArrayView C1, C2, C3; // povrch
    QByteArrayView T;          // tvar, without quotes; escapes kept as they stood
    QByteArrayView O;          // ovltransp
};

// Scans one piece line for its fields. It does not tokenise VRML: it looks for runs of the number
// characters + - . 0-9 and for the first double quote after the position.
PieceFields ParsePieceLine(QByteArrayView line);

// Reads a scene file's bytes into the editor: the lines above the first "Background" line become
// the library in force (as the file's bytes), the background block's three fractions the
// background colour, and every later line with "Dilek", below the background block, one piece
// row, each made current in turn. The whole file is read first: on a failure nothing in the editor
// has changed, and the caller shows the message.
bool readScene(EditorState& state, PieceEditing& editing, QByteArrayView bytes);

} // namespace modulino
