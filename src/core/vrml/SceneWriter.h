#pragma once

#include "base/Colours.h"

#include <QByteArray>
#include <QByteArrayList>
#include <vector>

namespace modulino {

struct EditorState;
class PieceTable;
struct TextTables;

// What a scene file is made of.
struct SceneParts {
    const QByteArrayList& library;
    Colour background;
    const PieceTable& table;
    const TextTables& texts;
    int axisOrder;
    bool hideControls; // CBSkryt: every piece written with its manipulators hidden
};

// The whole scene file: library lines, the background line, one Dilek line per piece; every line
// ends in CR LF.
QByteArray composeScene(const SceneParts& parts);
// "Background { skyColor  0.80 0.80 1.00}"
QByteArray backgroundLine(Colour background);
// Appends one piece line, with its CR LF, per table row.
void WritePieces(const SceneParts& parts, QByteArray& out);
// The same for the rows firstRow to endRow - 1.
void WritePieces(const SceneParts& parts, QByteArray& out, int firstRow, int endRow);
// The library lines and the background line, each with its CR LF: what stands above the pieces.
QByteArray composeHead(const QByteArrayList& library, Colour background);

// The piece lines of the given rows, each with its CR LF, as a scene file holds them.
QByteArray pieceLines(const SceneParts& parts, const std::vector<int>& rows);

// Fills Final with the scene as the editor holds it.
void ComposeScene(EditorState& state);

} // namespace modulino
