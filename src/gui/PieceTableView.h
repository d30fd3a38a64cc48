#pragma once

#include "PieceTableModel.h"
#include "scene/Controls.h"

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTableView>
#include <array>

class QWheelEvent;

namespace modulino {

// Shows every row selected in the core as selected; the view's own selection holds only the
// current row.
class RowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit RowDelegate(const PieceTable& table, QObject* parent = nullptr);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    const PieceTable& table;
};

// Paints a piece's colour cell as a swatch of the colour its integer text names.
class ColourSwatchDelegate : public RowDelegate {
    Q_OBJECT
public:
    using RowDelegate::RowDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The editor of a size or position cell: a line edit that marks a value the core would not take
// and names the column's range in its tooltip. Enter keeps it open while its text is not taken;
// leaving it then drops the text.
class TypedValueDelegate : public RowDelegate {
    Q_OBJECT
public:
    // The up-downs of the six size and position columns give the ranges.
    TypedValueDelegate(const PieceTable& table, const std::array<UpDown, 6>& ranges,
                       QObject* parent = nullptr);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    const std::array<UpDown, 6>& ranges;
};

// The piece table on the window. It shows the core's rows and selection and reports what the
// user does; it never chooses a row, scrolls by the wheel or edits a cell on its own. A double
// click on a size or position cell, or F2 or Enter, opens an editor on that cell of the current
// piece; what is typed there goes to the core.
class PieceTableView : public QTableView {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 448;
    static constexpr int FrameWidth = 2;
    static constexpr int RowHeight = 21; // 20 and the grid line
    static constexpr int HeaderHeight = 20;
    static constexpr int Height = 401;

    PieceTableView(const PieceTable& table, const std::array<UpDown, 6>& ranges,
                   QWidget* parent = nullptr);

    // Current index, selection and highlight follow the table's current row; the view scrolls to
    // that row when it has moved.
    void followTable();
    // A wheel event meant for the table wherever the pointer is: every full 120 units of delta
    // become one wheelNotch.
    void takeWheel(QWheelEvent* event);
    // An open cell editor hands its text to the core and closes, before any other command runs.
    void finishTyping();
    bool isTyping() const { return state() == EditingState; }

signals:
    // The user chose a row by mouse or keys: a piece row, or 0 for the header of the empty table.
    void rowChosen(int row);
    // Ctrl+click on a piece row.
    void rowToggled(int row);
    // Shift+click or Shift with a key that moves the current row.
    void rowExtended(int row);
    // The pointer moved over the table; x in client pixels.
    void pointerMoved(int x);
    // One notch of the wheel: +1 away from the user, -1 towards, with what was held.
    void wheelNotch(int direction, bool shift, bool leftButton);
    // Text typed into the cell (column, row) and committed.
    void valueTyped(int column, int row, const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void setUpHeaders();
    void fitWidthToScrollBar();
    void pressAt(QMouseEvent* event);
    int targetOfKey(int key) const;
    // Opens the editor on the current piece's cell in `column`, if that column takes values.
    void startTyping(int column);

    const PieceTable& table;
    PieceTableModel pieces;
    RowDelegate rows;
    ColourSwatchDelegate swatches;
    TypedValueDelegate typedValues;
    int clickedColumn = PieceTable::RxColumn; // where F2 and Enter open the editor
    QPersistentModelIndex typing;             // the cell the editor was last opened on
    int wheelDelta = 0;
    int followedRow = -1;
    bool showsGroup = false;
};

} // namespace modulino
