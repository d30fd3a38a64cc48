#include "scene/PieceTable.h"

namespace modulino {

void PieceTable::setCell(int column, int row, const QString& text) {
    mutableRow(row)[column] = text;
    if (!quiet())
        emit rowChanged(row);
}

void PieceTable::setRow(int row, const PieceRow& cells) {
    mutableRow(row) = cells;
    if (!quiet())
        emit rowChanged(row);
}

void PieceTable::appendRow(PieceRow cells) {
    pieces.append(std::move(cells));
    if (!quiet())
        emit rowsAppended(rowCount() - 1, rowCount() - 1);
}

void PieceTable::removeRow(int row) {
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
