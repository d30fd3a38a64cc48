#include "scene/PieceEditing.h"

#include "base/UserDialogs.h"
#include "scene/Numbers.h"
#include "scene/ShapeCheck.h"
#include "scene/TypedValue.h"

#include <QScopedValueRollback>

namespace modulino {

namespace {

// Texts that every new piece shares instead of holding copies of its own.
const QString WhiteText = QStringLiteral("16777215");
const QString OneText = QStringLiteral("1");
const QString ZeroText = QStringLiteral("0");

} // namespace

PieceEditing::PieceEditing(EditorState& state, UserDialogs& dialogs)
    : s(state)
    , dialogs(dialogs) {}

void PieceEditing::PridejClick() {
    const History::Step step(s.history);
    s.SceneSaved = false;
    if (s.SGDilky.isEmpty()) {
        for (auto id : {UpDownId::UDrx, UpDownId::UDry, UpDownId::UDrz})
            s.upDown(id).setPosition(10);
        for (auto id : {UpDownId::UDx, UpDownId::UDy, UpDownId::UDz})
            s.upDown(id).setPosition(0);
    }
    PieceRow row;
    row[PieceTable::ColourColumn] = WhiteText;
    row[PieceTable::ShapeColumn] = s.texts.ShapeTexts[7];
    for (int c = PieceTable::RxColumn; c <= PieceTable::RzColumn; ++c)
        row[c] = OneText;
    for (int c = PieceTable::XColumn; c <= PieceTable::ZColumn; ++c)
        row[c] = ZeroText;
    row[PieceTable::ControlsColumn] = s.texts.YesText;
    for (int c = PieceTable::RedColumn; c <= PieceTable::BlueColumn; ++c)
        row[c] = OneText;
    const int r = s.SGDilky.rowCount();
    s.SGDilky.appendRow(std::move(row));
    s.SGDilky.setHeaderFixed(true);
    s.SGDilky.setWholeRowSelect(true);
    selectRow(r);
}

void PieceEditing::DelClick() {
    const History::Step step(s.history);
    s.SceneSaved = false;
    PieceTable& table = s.SGDilky;
    if (table.isEmpty()) {
        table.setHeaderFixed(false);
        table.setCurrentRow(0);
        table.setWholeRowSelect(false);
        return;
    }
    const int c = std::clamp(table.currentRow(), 1, table.rowCount() - 1);
    const bool wasLast = c == table.rowCount() - 1;
    table.removeRow(c);
    if (table.isEmpty()) {
        table.setHeaderFixed(false);
        table.setCurrentRow(0);
    } else {
        // The piece now current (the next one, or the new last) is loaded as a selection loads
        // it, without the colour dialog, so the next edit starts from it.
        s.OverColourColumn = false;
        selectRow(wasLast ? table.rowCount() - 1 : c);
    }
}

void PieceEditing::Duplikovat1Click() {
    PieceTable& table = s.SGDilky;
    const int current = table.currentRow();
    if (!table.isPieceRow(current))
        return;
    const History::Step step(s.history);
    s.SceneSaved = false;
    const int r = table.rowCount();
    table.appendRow(table.row(current));
    // The copy is loaded as a selection loads it, without the colour dialog: it keeps its colour.
    s.OverColourColumn = false;
    selectRow(r);
}

void PieceEditing::selectRow(int row) {
    // The step starts before the table moves, so undo shows the row that was current before.
    const History::Step step(s.history);
    s.SGDilky.setCurrentRow(row);
    SGDilkySelectCell(0, row);
}

void PieceEditing::selectReadRow(int row) {
    s.OverColourColumn = false;
    const QScopedValueRollback reading(shapeCheckRenames, false);
    selectRow(row);
}

void PieceEditing::SGDilkySelectCell(int /*column*/, int row) {
    const History::Step step(s.history);
    s.history.stopMerging();
    s.SceneSaved = false;
    if (row < 1) {
        for (auto id : {UpDownId::UDrx, UpDownId::UDry, UpDownId::UDrz})
            s.upDown(id).setPosition(0);
        for (auto id : {UpDownId::UDx, UpDownId::UDy, UpDownId::UDz})
            s.upDown(id).setPosition(0);
        Vyzva();
        s.OverColourColumn = false;
        return;
    }
    s.CurrentRow = row;
    if (s.OverColourColumn)
        chooseColourOfRow(row);
    setCBovl(s.SGDilky.cell(PieceTable::ControlsColumn, row) == s.texts.YesText);
    loadRowIntoControls(row);
    Vyzva();
    s.OverColourColumn = false;
}

// Sizes, positions, the swatch and the shape list follow the row's cells. A cell that is not a
// number gives the default sizes and positions and leaves the swatch and the list as they were.
void PieceEditing::loadRowIntoControls(int row) {
    const PieceRow& cells = s.SGDilky.row(row);
    std::array<int, 6> tenths{10, 10, 10, 0, 0, 0};
    std::array<int, 6> read{};
    bool ok = true;
    for (int i = 0; i < 6 && ok; ++i) {
        const auto value = tenthsOf(cells[PieceTable::RxColumn + i]);
        ok = value.has_value();
        read[std::size_t(i)] = value.value_or(0);
    }
    std::optional<int> colour;
    if (ok) {
        colour = parseInteger(cells[PieceTable::ColourColumn]);
        ok = colour.has_value();
    }
    if (ok) {
        tenths = read;
        s.Shape1 = Colour(*colour) & 0xffffff;
        for (int k = 0; k < 7; ++k)
            if (cells[PieceTable::ShapeColumn] == s.texts.shapeName(k))
                s.Tvar.select(k);
    }
    for (int i = 0; i < 6; ++i)
        s.upDowns[std::size_t(i)].setPosition(tenths[std::size_t(i)]);
}

void PieceEditing::chooseColourOfRow(int row) {
    const auto chosen = dialogs.chooseColour(s.Shape1);
    if (!chosen)
        return;
    const Colour c = *chosen & 0xffffff;
    s.SceneSaved = false;
    s.Shape1 = c;
    PieceRow cells = s.SGDilky.row(row);
    cells[PieceTable::ColourColumn] = colourText(c);
    cells[PieceTable::RedColumn] = ColorComponentText(c, Channel::Red);
    cells[PieceTable::GreenColumn] = ColorComponentText(c, Channel::Green);
    cells[PieceTable::BlueColumn] = ColorComponentText(c, Channel::Blue);
    s.SGDilky.setRow(row, cells);
}

void PieceEditing::SGDilkyMouseMove(int x) {
    s.OverColourColumn = x <= 45;
    if (x == 46)
        return;
    // The right edge of each column as the pointer sees it.
    static constexpr int lastX[] = {45, 168, 200, 234, 266, 300, 334, 366};
    int column = 0;
    while (column < 8 && x > lastX[column])
        ++column;
    s.MouseColumn = column;
}

void PieceEditing::TvarChange(int index) {
    const History::Step step(s.history);
    s.Tvar.select(index);
    if (s.SGDilky.currentRow() < 1 || !s.SGDilky.isPieceRow(s.CurrentRow))
        return;
    s.SceneSaved = false;
    s.SGDilky.setCell(PieceTable::ShapeColumn, s.CurrentRow, s.Tvar.text);
    Vyzva();
}

bool PieceEditing::pressUpDown(UpDownId id, int direction) {
    UpDown& upDown = s.upDown(id);
    if (!upDown.canStep(direction))
        return false;
    const History::Step step(s.history, MergeKey::cell(s.CurrentRow, upDownColumn(id)));
    upDown.setPosition(upDown.position + (direction > 0 ? 1 : -1));
    UDClick(id);
    return true;
}

void PieceEditing::UDClick(UpDownId id) {
    if (s.SGDilky.isEmpty())
        return;
    s.SceneSaved = false;
    if (s.SGDilky.isPieceRow(s.CurrentRow))
        s.SGDilky.setCell(upDownColumn(id), s.CurrentRow,
                          TenthsText(s.upDown(id).position, isSizeUpDown(id) ? 2 : 3));
    if (isSizeUpDown(id))
        Vyzva();
}

bool PieceEditing::SGDilkySetEditText(int column, int row, QStringView text) {
    if (column < PieceTable::RxColumn || column > PieceTable::ZColumn || row != s.CurrentRow ||
        !s.SGDilky.isPieceRow(row))
        return false;
    const auto id = UpDownId(column - PieceTable::RxColumn);
    const auto tenths = typedTenths(text, s.upDown(id));
    if (!tenths)
        return false;
    const History::Step step(s.history);
    s.SceneSaved = false;
    s.upDown(id).setPosition(*tenths);
    s.SGDilky.setCell(column, row, TenthsText(*tenths, 3));
    if (isSizeUpDown(id))
        Vyzva();
    return true;
}

void PieceEditing::setCBovl(bool ticked) {
    if (s.CBovl == ticked)
        return;
    const History::Step step(s.history);
    s.CBovl = ticked;
    CBovlClick();
}

void PieceEditing::CBovlClick() {
    if (s.SGDilky.isEmpty() || !s.SGDilky.isPieceRow(s.CurrentRow))
        return;
    s.SceneSaved = false;
    s.SGDilky.setCell(PieceTable::ControlsColumn, s.CurrentRow,
                      s.CBovl ? s.texts.YesText : s.texts.NoText);
}

void PieceEditing::Shape1MouseDown() {
    if (s.SGDilky.isEmpty() || !s.SGDilky.isPieceRow(s.CurrentRow))
        return;
    const History::Step step(s.history);
    chooseColourOfRow(s.CurrentRow);
}

void PieceEditing::Shape2MouseDown() {
    const History::Step step(s.history);
    if (const auto chosen = dialogs.chooseColour(s.Shape2)) {
        s.Shape2 = *chosen & 0xffffff;
        s.SceneSaved = false;
    }
}

void PieceEditing::CBSkrytClick(bool ticked) {
    const History::Step step(s.history);
    s.CBSkryt = ticked;
    s.SceneSaved = false;
}

void PieceEditing::Vyzva() {
    PieceTable& table = s.SGDilky;
    const bool hasCell = table.isPieceRow(s.CurrentRow);
    const ShapeVerdict verdict = checkShape(
        s.texts, s.AxisOrder, s.upDown(UpDownId::UDrx).position, s.upDown(UpDownId::UDry).position,
        s.upDown(UpDownId::UDrz).position, s.Tvar.selected,
        hasCell ? &table.cell(PieceTable::ShapeColumn, s.CurrentRow) : nullptr);
    if (verdict.rename && shapeCheckRenames)
        table.setCell(PieceTable::ShapeColumn, s.CurrentRow, *verdict.rename);
    if (s.CurrentRow > 0)
        s.varovani = verdict.message;
}

} // namespace modulino
