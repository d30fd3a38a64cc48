#include "PieceTableView.h"

#include "QtColours.h"
#include "scene/Numbers.h"
#include "scene/TypedValue.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QValidator>
#include <QWheelEvent>
#include <array>
#include <cstdlib>

namespace modulino {

namespace {

// Column widths with the grid line each; the last three columns are never shown.
constexpr std::array<int, PieceTable::ColumnCount> SectionSizes{51, 118, 33, 33, 33, 33,
                                                                33, 33,  80, 0,  0,  0};
constexpr int FirstHiddenColumn = PieceTable::RedColumn;
constexpr int WheelNotch = 120;
const QColor InvalidBackground(255, 200, 200);

// Takes what the core takes for one column. Anything else may be typed, but is never acceptable.
class TypedValueValidator : public QValidator {
public:
    TypedValueValidator(const UpDown& range, QObject* parent)
        : QValidator(parent)
        , range(range) {}
    State validate(QString& input, int& /*position*/) const override {
        return typedTenths(input, range) ? Acceptable : Intermediate;
    }

private:
    UpDown range;
};

void markValidity(QLineEdit* editor, const QPalette& normal) {
    QPalette colours = normal;
    if (!editor->hasAcceptableInput())
        colours.setColor(QPalette::Base, InvalidBackground);
    editor->setPalette(colours);
}

} // namespace

RowDelegate::RowDelegate(const PieceTable& table, QObject* parent)
    : QStyledItemDelegate(parent)
    , table(table) {}

void RowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (table.hasGroup() && table.isSelected(PieceTableModel::pieceRow(index.row())))
        option->state |= QStyle::State_Selected;
}

TypedValueDelegate::TypedValueDelegate(const PieceTable& table, const std::array<UpDown, 6>& ranges,
                                       QObject* parent)
    : RowDelegate(table, parent)
    , ranges(ranges) {}

QWidget* TypedValueDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& /*option*/,
                                          const QModelIndex& index) const {
    const UpDown& range = ranges[std::size_t(index.column() - PieceTable::RxColumn)];
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setValidator(new TypedValueValidator(range, editor));
    editor->setToolTip(rangeText(range));
    editor->setAccessibleDescription(rangeText(range));
    connect(editor, &QLineEdit::textChanged, editor,
            [editor, normal = editor->palette()] { markValidity(editor, normal); });
    return editor;
}

void ColourSwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    RowDelegate::paint(painter, option, index);
    const auto colour = parseInteger(index.data().toString());
    if (!colour)
        return;
    painter->save();
    painter->setPen(QPen(Qt::black, 0));
    painter->setBrush(toQColor(Colour(*colour) & 0xffffff));
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

PieceTableView::PieceTableView(const PieceTable& table, const std::array<UpDown, 6>& ranges,
                               QWidget* parent)
    : QTableView(parent)
    , table(table)
    , pieces(table)
    , rows(table)
    , swatches(table)
    , typedValues(table, ranges) {
    setModel(&pieces);
    setItemDelegate(&rows);
    setItemDelegateForColumn(PieceTable::ColourColumn, &swatches);
    for (int c = PieceTable::RxColumn; c <= PieceTable::ZColumn; ++c)
        setItemDelegateForColumn(c, &typedValues);
    connect(&pieces, &PieceTableModel::valueTyped, this, &PieceTableView::valueTyped);
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken); // two pixels wide
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(ScrollPerItem);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setUpHeaders();
    viewport()->setMouseTracking(true);
    horizontalHeader()->viewport()->setMouseTracking(true);
    horizontalHeader()->viewport()->installEventFilter(this);

    // Selection and highlight show the current piece also while another control has the focus.
    QPalette colours = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    setFixedHeight(Height);
    fitWidthToScrollBar();
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this,
            &PieceTableView::fitWidthToScrollBar);

    // The model has seen each change first (it connected first); the selection follows.
    const auto follow = [this] {
        followTable();
    };
    connect(&table, &PieceTable::rowsAppended, this, follow);
    connect(&table, &PieceTable::rowRemoved, this, follow);
    connect(&table, &PieceTable::rowInserted, this, follow);
    connect(&table, &PieceTable::piecesRemoved, this, follow);
    connect(&table, &PieceTable::reset, this, follow);
    connect(&table, &PieceTable::selectionChanged, this, follow);
    // Rows selected beside the current one are painted by the delegates.
    connect(&table, &PieceTable::selectionChanged, this, [this] {
        if (showsGroup || this->table.hasGroup())
            viewport()->update();
        showsGroup = this->table.hasGroup();
    });
}

void PieceTableView::setUpHeaders() {
    QHeaderView* rows = verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(RowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->hide();

    QHeaderView* columns = horizontalHeader();
    columns->setMinimumSectionSize(0);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setSectionsClickable(false);
    columns->setSectionsMovable(false);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setFixedHeight(HeaderHeight);
    for (int c = 0; c < PieceTable::ColumnCount; ++c)
        setColumnWidth(c, SectionSizes[std::size_t(c)]);
    for (int c = FirstHiddenColumn; c < PieceTable::ColumnCount; ++c)
        setColumnHidden(c, true);
}

void PieceTableView::fitWidthToScrollBar() {
    const QScrollBar* bar = verticalScrollBar();
    const int barWidth = bar->maximum() > bar->minimum() ? bar->sizeHint().width() : 0;
    setFixedWidth(ClientWidth + 2 * FrameWidth + barWidth);
}

void PieceTableView::followTable() {
    QItemSelectionModel* selection = selectionModel();
    const int row = table.currentRow();
    const int shown = PieceTableModel::modelRow(row);
    if (!table.isPieceRow(row) || shown >= pieces.rowCount()) {
        if (currentIndex().isValid() || selection->hasSelection())
            selection->clear();
        followedRow = row;
        return;
    }
    const QModelIndex current = pieces.index(shown, PieceTable::ColourColumn);
    const bool wholeRow = table.wholeRowSelect();
    const bool shownAlready =
        current == currentIndex() &&
        (wholeRow ? selection->isRowSelected(shown) : selection->selectedIndexes().size() == 1) &&
        selection->isSelected(current);
    if (!shownAlready) {
        selection->setCurrentIndex(
            current, QItemSelectionModel::ClearAndSelect |
                         (wholeRow ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
    }
    if (row != followedRow)
        scrollTo(current);
    followedRow = row;
}

void PieceTableView::takeWheel(QWheelEvent* event) {
    event->accept();
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool leftButton = event->buttons().testFlag(Qt::LeftButton);
    wheelDelta += event->angleDelta().y();
    while (std::abs(wheelDelta) >= WheelNotch) {
        const int direction = wheelDelta > 0 ? 1 : -1;
        wheelDelta -= direction * WheelNotch;
        emit wheelNotch(direction, shift, leftButton);
    }
}

void PieceTableView::wheelEvent(QWheelEvent* event) {
    // The wheel edits the current piece while the table has the focus; it never scrolls.
    if (hasFocus())
        takeWheel(event);
    event->accept();
}

void PieceTableView::pressAt(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const int shown = rowAt(int(event->position().y()));
    if (shown < 0)
        return;
    scrollTo(pieces.index(shown, PieceTable::ColourColumn));
    clickedColumn = columnAt(int(event->position().x()));
    const int row = PieceTableModel::pieceRow(shown);
    if (event->modifiers().testFlag(Qt::ControlModifier))
        emit rowToggled(row);
    else if (event->modifiers().testFlag(Qt::ShiftModifier))
        emit rowExtended(row);
    else
        emit rowChosen(row);
}

void PieceTableView::mousePressEvent(QMouseEvent* event) {
    pressAt(event);
}

void PieceTableView::mouseDoubleClickEvent(QMouseEvent* event) {
    pressAt(event);
    if (event->button() == Qt::LeftButton && rowAt(int(event->position().y())) >= 0)
        startTyping(clickedColumn);
}

void PieceTableView::startTyping(int column) {
    const int row = table.currentRow();
    if (state() == EditingState || !table.isPieceRow(row) ||
        !PieceTableModel::isTypedColumn(column))
        return;
    typing = pieces.index(PieceTableModel::modelRow(row), column);
    scrollTo(typing);
    edit(typing);
}

void PieceTableView::finishTyping() {
    QWidget* editor = state() == EditingState ? indexWidget(typing) : nullptr;
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// Tab and Shift+Tab move the editor along the piece's sizes and positions; the row stays current.
void PieceTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    using Hint = QAbstractItemDelegate::EndEditHint;
    const int step = hint == Hint::EditNextItem ? 1 : hint == Hint::EditPreviousItem ? -1 : 0;
    const int column = typing.column();
    QTableView::closeEditor(editor, step != 0 ? Hint::NoHint : hint);
    if (step != 0)
        startTyping(column + step);
}

void PieceTableView::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit pointerMoved(int(event->position().x()));
}

void PieceTableView::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

int PieceTableView::targetOfKey(int key) const {
    const int current = table.currentRow();
    const int last = table.rowCount() - 1;
    const int page = std::max(1, viewport()->height() / RowHeight);
    switch (key) {
    case Qt::Key_Up:
        return std::max(1, current - 1);
    case Qt::Key_Down:
        return std::min(last, current + 1);
    case Qt::Key_PageUp:
        return std::max(1, current - page);
    case Qt::Key_PageDown:
        return std::min(last, current + page);
    case Qt::Key_Home:
        return 1;
    case Qt::Key_End:
        return last;
    default:
        return -1;
    }
}

void PieceTableView::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_F2 || key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        startTyping(clickedColumn);
        return;
    }
    const int target = targetOfKey(key);
    if (target < 0) {
        event->ignore();
        return;
    }
    event->accept();
    if (table.isEmpty())
        return;
    if (event->modifiers().testFlag(Qt::ShiftModifier))
        emit rowExtended(target);
    else if (target != table.currentRow())
        emit rowChosen(target);
}

void PieceTableView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    followTable(); // the view may have picked a current index of its own
    viewport()->update();
}

void PieceTableView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

// The current cell's own focus frame would lie under the colour swatch; the table shows its
// focus as a dotted frame around the whole current row, or around the empty table.
void PieceTableView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!hasFocus())
        return;
    const int row = currentIndex().row();
    const QRect frame =
        row < 0 ? viewport()->rect()
                : visualRect(model()->index(row, 0))
                      .united(visualRect(model()->index(row, PieceTable::ControlsColumn)));
    QPainter painter(viewport());
    const auto ink = row < 0 ? QPalette::WindowText : QPalette::HighlightedText;
    painter.setPen(QPen(palette().color(ink), 1, Qt::DotLine));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

bool PieceTableView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != horizontalHeader()->viewport())
        return QTableView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        emit pointerMoved(int(static_cast<QMouseEvent*>(event)->position().x()));
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The header row is an ordinary row only while the table holds no piece.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && table.isEmpty())
            emit rowChosen(0);
        return true;
    case QEvent::MouseButtonRelease:
        return true;
    default:
        return false;
    }
}

} // namespace modulino
