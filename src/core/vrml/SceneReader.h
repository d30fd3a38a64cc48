#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace modulino {

class PieceEditing;
struct EditorState;

// The eleven fields of one piece line, as they stood in the file (defaults filled in).
struct PieceFields {
    QByteArray S1, S2, S3; // velikost
    QByteArray P1, P2, P3; // poloha
    QByteArray C1, C2, C3; // povrch
    QByteArray T;          // tvar, without quotes
    QByteArray O;          // ovltransp
};

PieceFields ParsePieceLine(QByteArrayView line);

// Reads a scene file's bytes into the editor: the library above the background line and one row per
// piece line. Returns false on a failure (the failure path's message is the caller's).
bool readScene(EditorState& state, PieceEditing& editing, QByteArrayView bytes);

} // namespace modulino
