#include "scene/PieceTable.h"

namespace modulino {

void PieceTable::setCell(int column, int row, const QString& text) {
    QString& target = mutableRow(row)[column];
    if (recorder && row > 0)
        recorder->cellChanged(row, column, target, text);
    target = text;
    if (!quiet())
        emit rowChanged(row);
}

void PieceTable::setRow(int row, const PieceRow& cells) {
    PieceRow& target = mutableRow(row);
    if (recorder && row > 0)
        for (int c = 0; c < ColumnCount; ++c)
            recorder->cellChanged(row, c, target[c], cells[c]);
    target = cells;
    if (!quiet())
        emit rowChanged(row);
}

void PieceTable::appendRow(PieceRow cells) {
    pieces.append(std::move(cells));
    if (recorder)
        recorder->rowInserted(rowCount() - 1, pieces.last());
    if (!quiet())
        emit rowsAppended(rowCount() - 1, rowCount() - 1);
}

void PieceTable::insertRow(int row, PieceRow cells) {
    pieces.insert(row - 1, std::move(cells));
    if (recorder)
        recorder->rowInserted(row, pieces[row - 1]);
    if (!quiet())
        emit rowInserted(row);
}

void PieceTable::removeRow(int row) {
    if (recorder)
        recorder->rowRemoved(row, pieces[row - 1]);
    pieces.removeAt(row - 1);
    if (!quiet())
        emit rowRemoved(row);
}

void PieceTable::removePieces() {
    pieces.clear();
    if (!quiet())
        emit piecesRemoved();
}

void PieceTable::setCurrentRow(int row) {
    current = row;
    if (!quiet())
        emit selectionChanged();
}

void PieceTable::setHeaderFixed(bool on) {
    fixed = on;
    if (!quiet())
        emit selectionChanged();
}

void PieceTable::setWholeRowSelect(bool on) {
    wholeRows = on;
    if (!quiet())
        emit selectionChanged();
}

PieceTable::Batch::Batch(PieceTable& table)
    : table(table) {
    ++table.batchDepth;
}

PieceTable::Batch::~Batch() {
    if (--table.batchDepth == 0)
        emit table.reset();
}

} // namespace modulino
