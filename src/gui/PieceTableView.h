#pragma once

#include "PieceTableModel.h"

#include <QStyledItemDelegate>
#include <QTableView>

class QWheelEvent;

namespace modulino {

// Paints a piece's colour cell as a swatch of the colour its integer text names.
class ColourSwatchDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The piece table on the window. It shows the core's rows and selection and reports what the
// user does; it never chooses a row, scrolls by the wheel or edits a cell on its own.
class PieceTableView : public QTableView {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 448;
    static constexpr int FrameWidth = 2;
    static constexpr int RowHeight = 21; // 20 and the grid line
    static constexpr int HeaderHeight = 20;
    static constexpr int Height = 401;

    explicit PieceTableView(const PieceTable& table, QWidget* parent = nullptr);

    // Current index, selection and highlight follow the table's current row; the view scrolls to
    // that row when it has moved.
    void followTable();
    // A wheel event meant for the table wherever the pointer is: every full 120 units of delta
    // become one wheelNotch.
    void takeWheel(QWheelEvent* event);

signals:
    // The user chose a row by mouse or keys: a piece row, or 0 for the header of the empty table.
    void rowChosen(int row);
    // The pointer moved over the table; x in client pixels.
    void pointerMoved(int x);
    // One notch of the wheel: +1 away from the user, -1 towards, with what was held.
    void wheelNotch(int direction, bool shift, bool leftButton);

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

private:
    void setUpHeaders();
    void fitWidthToScrollBar();
    void pressAt(QMouseEvent* event);
    int targetOfKey(int key) const;

    const PieceTable& table;
    PieceTableModel pieces;
    ColourSwatchDelegate swatches;
    int wheelDelta = 0;
    int followedRow = -1;
};

} // namespace modulino
