#include "vrml/SceneWriter.h"

#include "app/TextTables.h"
#include "scene/EditorState.h"
#include "scene/PieceTable.h"
#include "vrml/AxisOrder.h"
#include "vrml/Libraries.h"
#include "vrml/TextLines.h"

namespace modulino {

namespace {

constexpr char CrLf[] = "\r\n";

// The keyword the Dilek prototype's script tests for each shape, in the order of ShapeTexts 7..13.
constexpr const char* ShapeKeywords[] = {"\"krychle\"", "\"kvadr\"",  "\"valec\"", "\"kuzel\"",
                                         "\"koule\"",   "\"jehlan\"", "\"hranol\""};

void appendCell(QByteArray& out, const QString& cell) {
    // Cells are nearly always ASCII: copied straight into the reserved buffer.
    const qsizetype start = out.size();
    out.resize(start + cell.size());
    char* to = out.data() + start;
    for (const QChar c : cell) {
        if (c.unicode() >= 0x80) {
            out.resize(start);
            out += encode1250(cell);
            return;
        }
        *to++ = char(c.unicode());
    }
}

void appendTriple(QByteArray& out, const PieceRow& row, const unsigned (&columns)[3]) {
    appendCell(out, row[int(columns[0])]);
    out += ' ';
    appendCell(out, row[int(columns[1])]);
    out += ' ';
    appendCell(out, row[int(columns[2])]);
}

void appendShape(QByteArray& out, const QString& cell, const TextTables& texts) {
    for (int k = 0; k < 7; ++k) {
        if (cell == texts.shapeName(k)) {
            out += ShapeKeywords[k];
            return;
        }
    }
    appendCell(out, cell);
}

} // namespace

QByteArray backgroundLine(Colour background) {
    return "Background { skyColor  " + ColorComponentText(background, Channel::Red).toLatin1() +
           ' ' + ColorComponentText(background, Channel::Green).toLatin1() + ' ' +
           ColorComponentText(background, Channel::Blue).toLatin1() + '}';
}

void WritePieces(const SceneParts& parts, QByteArray& out) {
    unsigned sizes[3] = {2, 3, 4};
    unsigned positions[3] = {5, 6, 7};
    SwapAxes(sizes[0], sizes[1], sizes[2], 0, unsigned(parts.axisOrder));
    SwapAxes(positions[0], positions[1], positions[2], 0, unsigned(parts.axisOrder));

    const PieceTable& table = parts.table;
    for (int r = 1; r < table.rowCount(); ++r) {
        const PieceRow& row = table.row(r);
        out += "Dilek { velikost ";
        appendTriple(out, row, sizes);
        out += " poloha ";
        appendTriple(out, row, positions);
        out += " tvar ";
        appendShape(out, row[PieceTable::ShapeColumn], parts.texts);
        out += " povrch ";
        appendCell(out, row[PieceTable::RedColumn]);
        out += ' ';
        appendCell(out, row[PieceTable::GreenColumn]);
        out += ' ';
        appendCell(out, row[PieceTable::BlueColumn]);
        out += " ovltransp ";
        const bool hidden =
            parts.hideControls || row[PieceTable::ControlsColumn] == parts.texts.NoText;
        out += hidden ? '1' : '0';
        out += " }";
        out += CrLf;
    }
}

QByteArray composeScene(const SceneParts& parts) {
    QByteArray out;
    qsizetype libraryBytes = 0;
    for (const QByteArray& line : parts.library)
        libraryBytes += std::min<qsizetype>(line.size(), LibraryLineLimit) + 2;
    // About 90 bytes make one piece line.
    out.reserve(libraryBytes + 64 + qsizetype(parts.table.rowCount()) * 96);
    for (const QByteArray& line : parts.library) {
        out += QByteArrayView(line).first(std::min<qsizetype>(line.size(), LibraryLineLimit));
        out += CrLf;
    }
    out += backgroundLine(parts.background);
    out += CrLf;
    WritePieces(parts, out);
    return out;
}

void ComposeScene(EditorState& s) {
    s.Final =
        composeScene(SceneParts{s.prototyp, s.Shape2, s.SGDilky, s.texts, s.AxisOrder, s.CBSkryt});
}

} // namespace modulino
