#pragma once

#include "scene/PieceTable.h"

#include <QByteArrayView>
#include <optional>
#include <vector>

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

// The piece rows of a scene file as Open reads them, its library and background left aside;
// nothing when the bytes are not a scene of the editor's form.
std::optional<std::vector<PieceRow>> readScenePieces(QByteArrayView bytes,
                                                     const EditorState& state);
// The piece rows of pasted text: each line with "Dilek" (below the background block, when the
// text holds one) read by the same rules; nothing when one of them cannot be read.
std::optional<std::vector<PieceRow>> readPieceLines(QByteArrayView bytes, const EditorState& state);

} // namespace modulino
