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
// Appends the library lines and the background line, each with its CR LF.
void WriteHead(const SceneParts& parts, QByteArray& out);
// Appends one piece line, with its CR LF, per table row from firstRow up to endRow (exclusive;
// -1 for the last row).
void WritePieces(const SceneParts& parts, QByteArray& out, int firstRow = 1, int endRow = -1);

// The piece lines of the given rows, each with its CR LF, as a scene file holds them.
QByteArray pieceLines(const SceneParts& parts, const std::vector<int>& rows);

// Fills Final with the scene as the editor holds it.
void ComposeScene(EditorState& state);

} // namespace modulino
