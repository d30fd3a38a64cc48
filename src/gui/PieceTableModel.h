#pragma once

#include "scene/PieceTable.h"

#include <QAbstractTableModel>

namespace modulino {

// The core's piece table as Qt sees it: model row i is piece row i + 1, and the header row 0 is
// the horizontal header. Reads the rows in place and follows the table's change signals.
class PieceTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PieceTableModel(const PieceTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Reports the text typed into a cell; the core decides whether it is taken.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The size and position cells take typed values; the other columns keep their own ways.
    static bool isTypedColumn(int column) {
        return column >= PieceTable::RxColumn && column <= PieceTable::ZColumn;
    }

    static int pieceRow(int modelRow) { return modelRow + 1; }
    static int modelRow(int pieceRow) { return pieceRow - 1; }

signals:
    void valueTyped(int column, int row, const QString& text);

private:
    void appendRows(int first, int last);
    void insertRow(int row);
    void removeRow(int row);
    void changeRow(int row);
    void resetRows();

    const PieceTable& table;
    // The piece rows the views know of; the table itself has changed already when it reports.
    int shownRows = 0;
};

} // namespace modulino
