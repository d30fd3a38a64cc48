#include "vrml/SceneWriter.h"

#include "base/TextTables.h"
#include "scene/EditorState.h"
#include "scene/PieceTable.h"
#include "vrml/AxisOrder.h"
#include "vrml/Libraries.h"
#include "vrml/TextLines.h"

#include <algorithm>
#include <string_view>

namespace modulino {

namespace {

constexpr char CrLf[] = "\r\n";

// The keyword the Dilek prototype's script tests for each shape, in the order of ShapeTexts 7..13.
constexpr std::string_view ShapeKeywords[] = {"\"krychle\"", "\"kvadr\"",  "\"valec\"", "\"kuzel\"",
                                              "\"koule\"",   "\"jehlan\"", "\"hranol\""};

// A name as a VRML string holds it: a double quote or a backslash gets a backslash in front.
QString escaped(const QString& name) {
    QString text;
    text.reserve(2 * name.size());
    for (const QChar c : name) {
        if (c == u'"' || c == u'\\')
            text += u'\\';
        text += c;
    }
    return text;
}

// Writes one piece line into room reserved for it in the output.
class LineWriter {
public:
    explicit LineWriter(char* at)
        : at(at) {}

    void literal(std::string_view text) { at = std::copy(text.begin(), text.end(), at); }

    // Cells are nearly always ASCII and copied as they are; others go through the code page.
    // Either way a cell takes at most one byte per UTF-16 unit.
    void cell(const QString& text) {
        char* const start = at;
        for (const QChar c : text) {
            if (c.unicode() >= 0x80) {
                const QByteArray encoded = encode1250(text);
                at = std::copy(encoded.begin(), encoded.end(), start);
                return;
            }
            *at++ = char(c.unicode());
        }
    }

    void triple(const PieceRow& row, const unsigned (&columns)[3]) {
        cell(row[int(columns[0])]);
        literal(" ");
        cell(row[int(columns[1])]);
        literal(" ");
        cell(row[int(columns[2])]);
    }

    void shape(const QString& name, const TextTables& texts) {
        for (int k = 0; k < 7; ++k) {
            if (name == texts.shapeName(k)) {
                literal(ShapeKeywords[k]);
                return;
            }
        }
        literal("\"");
        if (name.contains(u'"') || name.contains(u'\\'))
            cell(escaped(name));
        else
            cell(name);
        literal("\"");
    }

    char* end() const { return at; }

private:
    char* at;
};

// The most bytes a piece line of this row can take.
qsizetype lineBound(const PieceRow& row) {
    qsizetype bound = 128; // the literals, the keyword and the line end
    for (const QString& cell : row.cells)
        bound += cell.size();
    return bound + row[PieceTable::ShapeColumn].size(); // each character of the name escaped
}

} // namespace

QByteArray backgroundLine(Colour background) {
    return "Background { skyColor  " + ColorComponentText(background, Channel::Red).toLatin1() +
           ' ' + ColorComponentText(background, Channel::Green).toLatin1() + ' ' +
           ColorComponentText(background, Channel::Blue).toLatin1() + '}';
}

namespace {

// Which cells go into velikost and poloha, in the file's axes.
struct LineColumns {
    unsigned sizes[3] = {2, 3, 4};
    unsigned positions[3] = {5, 6, 7};
    explicit LineColumns(int axisOrder) {
        SwapAxes(sizes[0], sizes[1], sizes[2], 0, unsigned(axisOrder));
        SwapAxes(positions[0], positions[1], positions[2], 0, unsigned(axisOrder));
    }
};

void writePieceLine(const SceneParts& parts, const LineColumns& columns, const PieceRow& row,
                    QByteArray& out) {
    static constexpr unsigned colours[3] = {PieceTable::RedColumn, PieceTable::GreenColumn,
                                            PieceTable::BlueColumn}; // never rearranged
    const qsizetype start = out.size();
    out.resize(start + lineBound(row));
    LineWriter line(out.data() + start);
    line.literal("Dilek { velikost ");
    line.triple(row, columns.sizes);
    line.literal(" poloha ");
    line.triple(row, columns.positions);
    line.literal(" tvar ");
    line.shape(row[PieceTable::ShapeColumn], parts.texts);
    line.literal(" povrch ");
    line.triple(row, colours);
    line.literal(" ovltransp ");
    const bool hidden = parts.hideControls || row[PieceTable::ControlsColumn] == parts.texts.NoText;
    line.literal(hidden ? "1" : "0");
    line.literal(" }\r\n");
    out.resize(line.end() - out.constData());
}

} // namespace

void WritePieces(const SceneParts& parts, QByteArray& out) {
    WritePieces(parts, out, 1, parts.table.rowCount());
}

void WritePieces(const SceneParts& parts, QByteArray& out, int firstRow, int endRow) {
    const LineColumns columns(parts.axisOrder);
    for (int r = firstRow; r < endRow; ++r)
        writePieceLine(parts, columns, parts.table.row(r), out);
}

QByteArray pieceLines(const SceneParts& parts, const std::vector<int>& rows) {
    const LineColumns columns(parts.axisOrder);
    QByteArray out;
    for (int r : rows)
        writePieceLine(parts, columns, parts.table.row(r), out);
    return out;
}

namespace {

void appendHead(const QByteArrayList& library, Colour background, QByteArray& out) {
    for (const QByteArray& line : library) {
        out += QByteArrayView(line).first(std::min<qsizetype>(line.size(), LibraryLineLimit));
        out += CrLf;
    }
    out += backgroundLine(background);
    out += CrLf;
}

} // namespace

QByteArray composeHead(const QByteArrayList& library, Colour background) {
    QByteArray out;
    appendHead(library, background, out);
    return out;
}

QByteArray composeScene(const SceneParts& parts) {
    QByteArray out;
    qsizetype libraryBytes = 0;
    for (const QByteArray& line : parts.library)
        libraryBytes += std::min<qsizetype>(line.size(), LibraryLineLimit) + 2;
    // Room for every line at its longest, so the buffer never moves; pages never written to
    // cost nothing.
    qsizetype pieceBytes = 0;
    for (int r = 1; r < parts.table.rowCount(); ++r)
        pieceBytes += lineBound(parts.table.row(r));
    out.reserve(libraryBytes + 64 + pieceBytes);
    appendHead(parts.library, parts.background, out);
    WritePieces(parts, out);
    return out;
}

void ComposeScene(EditorState& s) {
    s.Final =
        composeScene(SceneParts{s.prototyp, s.Shape2, s.SGDilky, s.texts, s.AxisOrder, s.CBSkryt});
}

} // namespace modulino
