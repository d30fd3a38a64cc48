#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <utility>
#include <vector>

namespace modulino {

// One row of the piece table: twelve text cells.
struct PieceRow {
    std::array<QString, 12> cells;
    QString& operator[](int column) { return cells[std::size_t(column)]; }
    const QString& operator[](int column) const { return cells[std::size_t(column)]; }
};

} // namespace modulino

Q_DECLARE_TYPEINFO(modulino::PieceRow, Q_RELOCATABLE_TYPE);

namespace modulino {

// Runs of selected rows, first and last, in ascending order.
using RowRanges = std::vector<std::pair<int, int>>;
// Adds a row after the last one in the runs.
inline void addToRanges(RowRanges& ranges, int row) {
    if (!ranges.empty() && ranges.back().second == row - 1)
        ranges.back().second = row;
    else
        ranges.emplace_back(row, row);
}

// The scene model: row 0 is the header, rows 1..N the pieces in scene order. Cells are text and
// stay text. Besides the rows the table keeps its own selection state: which row is current,
// which rows are selected with it, whether the header is fixed and whether whole rows are
// highlighted.
class PieceTable : public QObject {
    Q_OBJECT
public:
    static constexpr int ColumnCount = 12;
    enum Column {
        ColourColumn = 0,
        ShapeColumn = 1,
        RxColumn = 2,
        RyColumn = 3,
        RzColumn = 4,
        XColumn = 5,
        YColumn = 6,
        ZColumn = 7,
        ControlsColumn = 8,
        RedColumn = 9,
        GreenColumn = 10,
        BlueColumn = 11,
    };

    int rowCount() const { return 1 + int(pieces.size()); }
    bool isEmpty() const { return pieces.isEmpty(); }
    bool isPieceRow(int row) const { return row >= 1 && row < rowCount(); }

    const PieceRow& row(int row) const { return row == 0 ? header : pieces[row - 1]; }
    const QString& cell(int column, int row) const { return this->row(row)[column]; }
    void setCell(int column, int row, const QString& text);
    void setRow(int row, const PieceRow& cells);

    // Appends a piece row (row count + 1). Does not change the selection.
    void appendRow(PieceRow cells);
    // Inserts a piece row at `row`; the rows from there move down by one.
    void insertRow(int row, PieceRow cells);
    // Removes piece row r; the rows below move up by one.
    void removeRow(int row);
    // Removes the piece rows named in ascending order, in one pass.
    void removeRows(const std::vector<int>& rows);
    // Puts rows back where they stood: `rows` in ascending order as they stand afterwards.
    void insertRows(const std::vector<int>& rows, const std::vector<PieceRow>& cells);
    // Leaves only the header row.
    void removePieces();
    void reserve(int rowCount) { pieces.reserve(rowCount - 1); }

    int currentRow() const { return current; }
    // Makes `row` current and the only selected row.
    void setCurrentRow(int row);

    // The selection: the current row and any rows selected beside it. While no other row is
    // selected, the current piece row alone is.
    bool isSelected(int row) const;
    int selectedCount() const;
    bool hasGroup() const { return grouped && chosenCount > 1; }
    std::vector<int> selectedRows() const;
    // Selects or leaves out one piece row; the current row stays current.
    void setSelected(int row, bool on);
    // Moves the current row to `row`, which joins the selection; the others stay selected.
    void setCurrentInSelection(int row);
    // The selected rows as runs (empty while the current row alone is selected), and back.
    RowRanges selectionRanges() const;
    void setSelectionRanges(const RowRanges& ranges);
    bool headerFixed() const { return fixed; }
    void setHeaderFixed(bool on);
    bool wholeRowSelect() const { return wholeRows; }
    void setWholeRowSelect(bool on);

    // Hears of every change to the piece rows, with the texts before and after.
    class Recorder {
    public:
        virtual void cellChanged(int row, int column, const QString& before,
                                 const QString& after) = 0;
        virtual void rowInserted(int row, const PieceRow& cells) = 0;
        virtual void rowRemoved(int row, const PieceRow& cells) = 0;
        virtual void rowsRemoved(const std::vector<int>& rows,
                                 const std::vector<PieceRow>& cells) = 0;

    protected:
        ~Recorder() = default;
    };
    void setRecorder(Recorder* recorder) { this->recorder = recorder; }

    // While a Batch lives, the table reports nothing row by row. At its end it reports what
    // happened at once: changed cells as one range of rows, rows added or removed as one reset().
    class Batch {
    public:
        explicit Batch(PieceTable& table);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        PieceTable& table;
    };

signals:
    void rowsAppended(int first, int last);
    void rowRemoved(int row);
    void rowInserted(int row);
    void rowChanged(int row);
    void rowsChanged(int first, int last);
    void piecesRemoved();
    void reset();
    void selectionChanged();

private:
    bool quiet() const { return batchDepth > 0; }
    void changed(int row);
    void reshaped();
    void selectionMoved();
    void endBatch();
    void group();
    bool mark(int row, bool on);

    PieceRow& mutableRow(int row) { return row == 0 ? header : pieces[row - 1]; }

    PieceRow header;
    // Kept apart from the header, so that removing the first piece moves no other row.
    QList<PieceRow> pieces;
    int current = 0;
    bool fixed = false;
    bool wholeRows = false;
    int batchDepth = 0;
    // What a batch has done so far.
    struct Pending {
        int firstChanged = 0, lastChanged = -1;
        bool reshaped = false;
        bool selection = false;
    } pending;
    // While grouped, `chosen` holds one flag per piece row; otherwise the current row alone is
    // selected.
    bool grouped = false;
    std::vector<char> chosen;
    int chosenCount = 0;
    Recorder* recorder = nullptr;
};

} // namespace modulino
