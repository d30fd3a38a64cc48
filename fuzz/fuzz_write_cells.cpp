// The writer on arbitrary cells (any UTF-16, lone surrogates included): every piece line is one
// "Dilek { … }" with CR LF, each cell in it as its Windows-1250 text with '?' for what the code
// page lacks, never longer than the cell.
#include "base/TextTables.h"
#include "scene/PieceTable.h"
#include "vrml/SceneWriter.h"
#include "vrml/TextLines.h"

#include <cstdint>
#include <cstdlib>

using namespace modulino;

namespace {

constexpr char16_t CellEnd = 0xFFFF; // not a character, so it ends a cell
constexpr int WrittenColumns[] = {2, 3, 4, 5, 6, 7, 9, 10, 11};

void require(bool condition) {
    if (!condition)
        std::abort();
}

// The input after its first byte, as UTF-16 units cut into rows of twelve cells.
QList<PieceRow> rowsOf(const std::uint8_t* data, std::size_t size) {
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text[qsizetype(i / 2)] = QChar(char16_t(data[i] | data[i + 1] << 8));
    QList<PieceRow> rows;
    int column = PieceTable::ColumnCount;
    for (const QStringView cell : QStringView(text).tokenize(QChar(CellEnd))) {
        if (column == PieceTable::ColumnCount) {
            rows.append(PieceRow());
            column = 0;
        }
        rows.last()[column++] = cell.toString();
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const TextTables texts = TextTables::builtIn();
    const int axisOrder = data[0] % 3;
    const bool hideControls = data[0] & 4;
    for (const PieceRow& row : rowsOf(data + 1, size - 1)) {
        PieceTable table;
        table.appendRow(row);
        QByteArray line;
        WritePieces(SceneParts{{}, 0, table, texts, axisOrder, hideControls}, line);

        require(line.startsWith("Dilek { velikost ") && line.endsWith(" }\r\n"));
        qsizetype cellUnits = 0;
        for (const QString& cell : row.cells)
            cellUnits += cell.size();
        require(line.size() <= cellUnits + 128);
        for (const int column : WrittenColumns) {
            const QByteArray encoded = encode1250(row[column]);
            require(encoded.size() <= row[column].size() && line.contains(encoded));
            require(encoded.count('\x1a') == row[column].count(QChar(0x1a)));
        }
    }
    return 0;
}
