#include "scene/GroupEditing.h"

#include "scene/EditorState.h"
#include "scene/Numbers.h"
#include "scene/PieceEditing.h"
#include "scene/RowSelection.h"
#include "scene/ShapeCheck.h"
#include "scene/TypedValue.h"

#include <algorithm>
#include <numeric>

namespace modulino {

GroupEditing::GroupEditing(EditorState& state, UserDialogs& dialogs, PieceEditing& editing,
                           WheelEditing& wheel, RowSelection& selection)
    : s(state)
    , dialogs(dialogs)
    , editing(editing)
    , wheel(wheel)
    , selection(selection) {}

bool GroupEditing::grouped() const {
    return s.SGDilky.hasGroup() && s.SGDilky.isSelected(s.CurrentRow);
}

// The current piece's value is the one its up-down holds; another piece's is its cell as an
// up-down would hold it after a selection (nothing when the cell is not a number).
std::optional<int> GroupEditing::heldValue(int row, UpDownId id) const {
    UpDown held = s.upDown(id);
    if (row == s.CurrentRow)
        return held.position;
    const auto tenths = tenthsOf(s.SGDilky.cell(upDownColumn(id), row));
    if (!tenths)
        return std::nullopt;
    held.setPosition(*tenths);
    return held.position;
}

// Positions keep three significant digits, so that every piece of a group moves by the same step.
void GroupEditing::stepAll(UpDownId id, int delta) {
    const int column = upDownColumn(id);
    const History::Step step(s.history, MergeKey::cell(s.CurrentRow, column));
    const PieceTable::Batch batch(s.SGDilky);
    s.SceneSaved = false;
    const std::vector<int> rows = s.SGDilky.selectedRows();
    for (int row : rows) {
        const auto value = heldValue(row, id);
        if (!value)
            continue;
        UpDown moved = s.upDown(id);
        moved.setPosition(*value + delta);
        if (row == s.CurrentRow)
            s.upDown(id).setPosition(moved.position);
        s.SGDilky.setCell(column, row, TenthsText(moved.position, isSizeUpDown(id) ? 2 : 3));
    }
    if (isSizeUpDown(id))
        checkShapes(rows);
}

void GroupEditing::setAll(int column, const QString& text) {
    for (int row : s.SGDilky.selectedRows())
        s.SGDilky.setCell(column, row, text);
}

// The current piece is checked as the controls show it; every other piece as a selection of it
// would load it.
void GroupEditing::checkShapes(const std::vector<int>& rows) {
    const PieceTable& table = s.SGDilky;
    for (int row : rows) {
        if (row == s.CurrentRow)
            continue;
        const auto rx = heldValue(row, UpDownId::UDrx);
        const auto ry = heldValue(row, UpDownId::UDry);
        const auto rz = heldValue(row, UpDownId::UDrz);
        if (!rx || !ry || !rz)
            continue;
        const QString& shape = table.cell(PieceTable::ShapeColumn, row);
        int k = 6;
        while (k >= 0 && shape != s.texts.shapeName(k))
            --k;
        const ShapeVerdict verdict = checkShape(s.texts, s.AxisOrder, *rx, *ry, *rz, k, &shape);
        if (verdict.rename)
            s.SGDilky.setCell(PieceTable::ShapeColumn, row, *verdict.rename);
    }
    editing.Vyzva();
}

bool GroupEditing::pressUpDown(UpDownId id, int direction) {
    if (!grouped())
        return editing.pressUpDown(id, direction);
    stepAll(id, direction > 0 ? 1 : -1);
    return true;
}

void GroupEditing::wheelNotch(int direction, WheelEditing::Held held) {
    const int column = s.MouseColumn;
    if (!grouped() || column == PieceTable::ColourColumn) {
        if (direction > 0)
            wheel.SGDilkyMouseWheelUp(held);
        else
            wheel.SGDilkyMouseWheelDown(held);
        return;
    }
    if (column >= PieceTable::RxColumn && column <= PieceTable::ZColumn) {
        stepAll(UpDownId(column - PieceTable::RxColumn),
                direction * (held.shift || held.leftButton ? 1 : 10));
        return;
    }
    const History::Step step(s.history, MergeKey::cell(s.CurrentRow, column));
    const PieceTable::Batch batch(s.SGDilky);
    s.SceneSaved = false;
    if (column == PieceTable::ShapeColumn) {
        s.Tvar.step(direction);
        setAll(column, s.Tvar.text);
        checkShapes(s.SGDilky.selectedRows());
    } else {
        s.CBovl = !s.CBovl;
        setAll(column, s.CBovl ? s.texts.YesText : s.texts.NoText);
    }
}

bool GroupEditing::SGDilkySetEditText(int column, int row, QStringView text) {
    if (!grouped() || row != s.CurrentRow || column < PieceTable::RxColumn ||
        column > PieceTable::ZColumn)
        return editing.SGDilkySetEditText(column, row, text);
    const auto id = UpDownId(column - PieceTable::RxColumn);
    const auto tenths = typedTenths(text, s.upDown(id));
    if (!tenths)
        return false;
    const History::Step step(s.history);
    const PieceTable::Batch batch(s.SGDilky);
    s.SceneSaved = false;
    s.upDown(id).setPosition(*tenths);
    setAll(column, TenthsText(*tenths, 3));
    if (isSizeUpDown(id))
        checkShapes(s.SGDilky.selectedRows());
    return true;
}

void GroupEditing::TvarChange(int index) {
    if (!grouped())
        return editing.TvarChange(index);
    const History::Step step(s.history);
    const PieceTable::Batch batch(s.SGDilky);
    s.Tvar.select(index);
    setAll(PieceTable::ShapeColumn, s.Tvar.text);
    checkShapes(s.SGDilky.selectedRows());
}

void GroupEditing::setCBovl(bool ticked) {
    if (!grouped())
        return editing.setCBovl(ticked);
    if (s.CBovl == ticked)
        return;
    const History::Step step(s.history);
    const PieceTable::Batch batch(s.SGDilky);
    s.CBovl = ticked;
    setAll(PieceTable::ControlsColumn, ticked ? s.texts.YesText : s.texts.NoText);
}

void GroupEditing::Shape1MouseDown() {
    if (!grouped())
        return editing.Shape1MouseDown();
    const auto chosen = dialogs.chooseColour(s.Shape1);
    if (!chosen)
        return;
    const History::Step step(s.history);
    const PieceTable::Batch batch(s.SGDilky);
    const Colour c = *chosen & 0xffffff;
    s.Shape1 = c;
    setAll(PieceTable::ColourColumn, colourText(c));
    setAll(PieceTable::RedColumn, ColorComponentText(c, Channel::Red));
    setAll(PieceTable::GreenColumn, ColorComponentText(c, Channel::Green));
    setAll(PieceTable::BlueColumn, ColorComponentText(c, Channel::Blue));
}

void GroupEditing::DelClick() {
    if (!grouped())
        return editing.DelClick();
    PieceTable& table = s.SGDilky;
    const History::Step step(s.history);
    const PieceTable::Batch batch(table);
    s.SceneSaved = false;
    const std::vector<int> rows = table.selectedRows();
    table.removeRows(rows);
    if (table.isEmpty()) {
        table.setHeaderFixed(false);
        table.setCurrentRow(0);
        return;
    }
    s.OverColourColumn = false;
    editing.selectRow(std::min(rows.front(), table.rowCount() - 1));
}

void GroupEditing::appendSelected(std::vector<PieceRow> rows, std::size_t current, bool read) {
    PieceTable& table = s.SGDilky;
    const History::Step step(s.history);
    const PieceTable::Batch batch(table);
    s.SceneSaved = false;
    const int first = table.rowCount();
    for (PieceRow& row : rows)
        table.appendRow(std::move(row));
    table.setHeaderFixed(true);
    table.setWholeRowSelect(true);
    std::vector<int> added(rows.size());
    std::iota(added.begin(), added.end(), first);
    selection.selectRows(added, first + int(current), read);
}

void GroupEditing::appendPieces(std::vector<PieceRow> rows) {
    if (rows.empty())
        return;
    const std::size_t last = rows.size() - 1;
    appendSelected(std::move(rows), last, true);
}

void GroupEditing::Duplikovat1Click() {
    if (!grouped())
        return editing.Duplikovat1Click();
    const std::vector<int> rows = s.SGDilky.selectedRows();
    std::vector<PieceRow> copies;
    copies.reserve(rows.size());
    for (int row : rows)
        copies.push_back(s.SGDilky.row(row));
    const auto current = std::ranges::find(rows, s.CurrentRow) - rows.begin();
    appendSelected(std::move(copies), std::size_t(current));
}

namespace {

// A position cell moved by `delta` tenths and held in the range; a cell that is not a number
// stays as it is. Sets `clamped` when the range held it.
QString shifted(const QString& cell, int delta, bool& clamped) {
    const auto tenths = tenthsOf(cell);
    if (!tenths || delta == 0)
        return cell;
    const int moved = std::clamp(*tenths + delta, -200, 200);
    clamped |= moved != *tenths + delta;
    return TenthsText(moved, 3);
}

} // namespace

bool GroupEditing::arrayClamps(const ArrayRequest& request) const {
    bool clamped = false;
    for (int row : s.SGDilky.selectedRows())
        for (int axis = 0; axis < 3; ++axis)
            shifted(s.SGDilky.cell(PieceTable::XColumn + axis, row),
                    request.count * request.offset[std::size_t(axis)], clamped);
    return clamped;
}

bool GroupEditing::makeArray(const ArrayRequest& request) {
    const std::vector<int> rows = s.SGDilky.selectedRows();
    if (rows.empty() || request.count < 1 || request.count > 100)
        return false;
    std::vector<PieceRow> copies;
    copies.reserve(rows.size() * std::size_t(request.count));
    bool clamped = false;
    for (int k = 1; k <= request.count; ++k) {
        for (int row : rows) {
            PieceRow copy = s.SGDilky.row(row);
            for (int axis = 0; axis < 3; ++axis)
                copy[PieceTable::XColumn + axis] =
                    shifted(copy[PieceTable::XColumn + axis], k * request.offset[std::size_t(axis)],
                            clamped);
            copies.push_back(std::move(copy));
        }
    }
    const auto current = std::ranges::find(rows, s.CurrentRow) - rows.begin();
    const std::size_t last =
        std::min(copies.size() - rows.size() + std::size_t(current), copies.size() - 1);
    appendSelected(std::move(copies), last);
    return true;
}

void GroupEditing::Pole1Click() {
    if (s.SGDilky.selectedCount() == 0)
        return;
    const auto request = dialogs.chooseArray(
        lastArray, s.texts.notices, [this](const ArrayRequest& r) { return arrayClamps(r); });
    if (!request)
        return;
    lastArray = *request;
    makeArray(*request);
}

} // namespace modulino
