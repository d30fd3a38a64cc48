#include "scene/PieceTable.h"

#include <algorithm>

namespace modulino {

void PieceTable::changed(int row) {
    if (!quiet()) {
        emit rowChanged(row);
    } else if (row == 0) {
        pending.reshaped = true;
    } else if (pending.firstChanged > pending.lastChanged) {
        pending.firstChanged = pending.lastChanged = row;
    } else {
        pending.firstChanged = std::min(pending.firstChanged, row);
        pending.lastChanged = std::max(pending.lastChanged, row);
    }
}

void PieceTable::reshaped() {
    if (quiet())
        pending.reshaped = true;
}

void PieceTable::selectionMoved() {
    if (quiet())
        pending.selection = true;
    else
        emit selectionChanged();
}

void PieceTable::setCell(int column, int row, const QString& text) {
    QString& target = mutableRow(row)[column];
    if (recorder && row > 0)
        recorder->cellChanged(row, column, target, text);
    target = text;
    changed(row);
}

void PieceTable::setRow(int row, const PieceRow& cells) {
    PieceRow& target = mutableRow(row);
    if (recorder && row > 0)
        for (int c = 0; c < ColumnCount; ++c)
            recorder->cellChanged(row, c, target[c], cells[c]);
    target = cells;
    changed(row);
}

void PieceTable::appendRow(PieceRow cells) {
    pieces.append(std::move(cells));
    if (grouped)
        chosen.push_back(0);
    const int row = rowCount() - 1;
    if (recorder)
        recorder->rowInserted(row, pieces.last());
    if (!quiet())
        emit rowsAppended(row, row);
    reshaped();
}

void PieceTable::insertRow(int row, PieceRow cells) {
    pieces.insert(row - 1, std::move(cells));
    if (grouped)
        chosen.insert(chosen.begin() + (row - 1), 0);
    if (recorder)
        recorder->rowInserted(row, pieces[row - 1]);
    if (!quiet())
        emit rowInserted(row);
    reshaped();
}

void PieceTable::removeRow(int row) {
    if (recorder)
        recorder->rowRemoved(row, pieces[row - 1]);
    pieces.removeAt(row - 1);
    if (grouped) {
        chosenCount -= chosen[std::size_t(row - 1)];
        chosen.erase(chosen.begin() + (row - 1));
    }
    if (!quiet())
        emit rowRemoved(row);
    reshaped();
}

void PieceTable::removeRows(const std::vector<int>& rows) {
    if (rows.empty())
        return;
    if (recorder) {
        std::vector<PieceRow> cells;
        cells.reserve(rows.size());
        for (int row : rows)
            cells.push_back(pieces[row - 1]);
        recorder->rowsRemoved(rows, cells);
    }
    qsizetype kept = 0;
    std::size_t next = 0;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (next < rows.size() && rows[next] - 1 == i) {
            ++next;
            if (grouped)
                chosenCount -= chosen[std::size_t(i)];
            continue;
        }
        if (kept != i) {
            pieces[kept] = std::move(pieces[i]);
            if (grouped)
                chosen[std::size_t(kept)] = chosen[std::size_t(i)];
        }
        ++kept;
    }
    pieces.resize(kept);
    if (grouped)
        chosen.resize(std::size_t(kept));
    if (!quiet())
        emit reset();
    reshaped();
}

void PieceTable::insertRows(const std::vector<int>& rows, const std::vector<PieceRow>& cells) {
    if (rows.empty())
        return;
    QList<PieceRow> merged;
    merged.reserve(pieces.size() + qsizetype(rows.size()));
    std::vector<char> flags;
    std::size_t next = 0;
    qsizetype old = 0;
    const qsizetype total = pieces.size() + qsizetype(rows.size());
    for (qsizetype i = 0; i < total; ++i) {
        if (next < rows.size() && rows[next] - 1 == i) {
            merged.append(cells[next++]);
            flags.push_back(0);
        } else {
            merged.append(std::move(pieces[old]));
            flags.push_back(grouped ? chosen[std::size_t(old)] : 0);
            ++old;
        }
    }
    pieces = std::move(merged);
    if (grouped)
        chosen = std::move(flags);
    if (recorder)
        for (std::size_t k = 0; k < rows.size(); ++k)
            recorder->rowInserted(rows[k], cells[k]);
    if (!quiet())
        emit reset();
    reshaped();
}

void PieceTable::removePieces() {
    pieces.clear();
    grouped = false;
    chosen.clear();
    chosenCount = 0;
    if (!quiet())
        emit piecesRemoved();
    reshaped();
}

void PieceTable::setCurrentRow(int row) {
    current = row;
    if (grouped) {
        grouped = false;
        chosen.clear();
        chosenCount = 0;
    }
    selectionMoved();
}

bool PieceTable::isSelected(int row) const {
    if (!isPieceRow(row))
        return false;
    return grouped ? chosen[std::size_t(row - 1)] != 0 : row == current;
}

int PieceTable::selectedCount() const {
    return grouped ? chosenCount : int(isPieceRow(current));
}

std::vector<int> PieceTable::selectedRows() const {
    std::vector<int> rows;
    if (!grouped) {
        if (isPieceRow(current))
            rows.push_back(current);
        return rows;
    }
    rows.reserve(std::size_t(chosenCount));
    for (std::size_t i = 0; i < chosen.size(); ++i)
        if (chosen[i])
            rows.push_back(int(i) + 1);
    return rows;
}

// From here on every piece row has its own flag.
void PieceTable::group() {
    if (grouped)
        return;
    grouped = true;
    chosen.assign(std::size_t(pieces.size()), 0);
    chosenCount = 0;
    if (isPieceRow(current)) {
        chosen[std::size_t(current - 1)] = 1;
        chosenCount = 1;
    }
}

bool PieceTable::mark(int row, bool on) {
    if (!isPieceRow(row) || isSelected(row) == on)
        return false;
    group();
    chosen[std::size_t(row - 1)] = on;
    chosenCount += on ? 1 : -1;
    return true;
}

void PieceTable::setSelected(int row, bool on) {
    if (mark(row, on))
        selectionMoved();
}

void PieceTable::setCurrentInSelection(int row) {
    mark(row, true);
    current = row;
    selectionMoved();
}

RowRanges PieceTable::selectionRanges() const {
    RowRanges ranges;
    if (!hasGroup())
        return ranges;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (!chosen[i])
            continue;
        addToRanges(ranges, int(i) + 1);
    }
    return ranges;
}

void PieceTable::setSelectionRanges(const RowRanges& ranges) {
    bool any = false;
    for (const auto& [first, last] : ranges)
        for (int row = std::max(first, 1); row <= std::min(last, rowCount() - 1); ++row)
            any |= mark(row, true);
    if (any)
        selectionMoved();
}

void PieceTable::setHeaderFixed(bool on) {
    fixed = on;
    selectionMoved();
}

void PieceTable::setWholeRowSelect(bool on) {
    wholeRows = on;
    selectionMoved();
}

PieceTable::Batch::Batch(PieceTable& table)
    : table(table) {
    ++table.batchDepth;
}

PieceTable::Batch::~Batch() {
    if (--table.batchDepth == 0)
        table.endBatch();
}

void PieceTable::endBatch() {
    const Pending done = std::exchange(pending, {});
    if (done.reshaped) {
        emit reset();
        return;
    }
    if (done.firstChanged <= done.lastChanged)
        emit rowsChanged(done.firstChanged, std::min(done.lastChanged, rowCount() - 1));
    if (done.selection)
        emit selectionChanged();
}

} // namespace modulino
