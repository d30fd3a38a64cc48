#include "PieceTableModel.h"

namespace modulino {

PieceTableModel::PieceTableModel(const PieceTable& table, QObject* parent)
    : QAbstractTableModel(parent)
    , table(table)
    , shownRows(table.rowCount() - 1) {
    connect(&table, &PieceTable::rowsAppended, this, &PieceTableModel::appendRows);
    connect(&table, &PieceTable::rowRemoved, this, &PieceTableModel::removeRow);
    connect(&table, &PieceTable::rowInserted, this, &PieceTableModel::insertRow);
    connect(&table, &PieceTable::rowChanged, this, &PieceTableModel::changeRow);
    connect(&table, &PieceTable::rowsChanged, this, [this](int first, int last) {
        emit dataChanged(index(modelRow(first), 0),
                         index(modelRow(last), PieceTable::ColumnCount - 1));
    });
    connect(&table, &PieceTable::piecesRemoved, this, &PieceTableModel::resetRows);
    connect(&table, &PieceTable::reset, this, &PieceTableModel::resetRows);
}

int PieceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownRows;
}

int PieceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : PieceTable::ColumnCount;
}

QVariant PieceTableModel::data(const QModelIndex& index, int role) const {
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid())
        return {};
    const int row = pieceRow(index.row());
    if (!table.isPieceRow(row))
        return {};
    return table.cell(index.column(), row);
}

QVariant PieceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= PieceTable::ColumnCount)
        return {};
    return table.cell(section, 0);
}

Qt::ItemFlags PieceTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return isTypedColumn(index.column()) ? flags | Qt::ItemIsEditable : flags;
}

bool PieceTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !isTypedColumn(index.column()))
        return false;
    emit valueTyped(index.column(), pieceRow(index.row()), value.toString());
    return true;
}

void PieceTableModel::appendRows(int first, int last) {
    beginInsertRows({}, modelRow(first), modelRow(last));
    shownRows += last - first + 1;
    endInsertRows();
}

void PieceTableModel::insertRow(int row) {
    beginInsertRows({}, modelRow(row), modelRow(row));
    ++shownRows;
    endInsertRows();
}

void PieceTableModel::removeRow(int row) {
    beginRemoveRows({}, modelRow(row), modelRow(row));
    --shownRows;
    endRemoveRows();
}

void PieceTableModel::changeRow(int row) {
    if (row == 0)
        emit headerDataChanged(Qt::Horizontal, 0, PieceTable::ColumnCount - 1);
    else
        emit dataChanged(index(modelRow(row), 0),
                         index(modelRow(row), PieceTable::ColumnCount - 1));
}

void PieceTableModel::resetRows() {
    beginResetModel();
    shownRows = table.rowCount() - 1;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, PieceTable::ColumnCount - 1);
}

} // namespace modulino
