#include "scene/History.h"

#include "scene/EditorState.h"

#include <QHash>
#include <algorithm>
#include <optional>

namespace modulino {

SceneFields sceneFields(const EditorState& s) {
    return {s.Shape2, s.CBSkryt, s.AxisOrder, s.BackCornerMode, s.lbBodVisible, s.prototyp};
}

ControlsShown controlsShown(const EditorState& s) {
    ControlsShown shown{s.SGDilky.currentRow(),
                        s.SGDilky.headerFixed(),
                        s.SGDilky.wholeRowSelect(),
                        s.CurrentRow,
                        {},
                        s.Tvar.selected,
                        s.Tvar.text,
                        s.CBovl,
                        s.Shape1,
                        s.varovani,
                        s.SGDilky.selectionRanges()};
    for (std::size_t i = 0; i < shown.positions.size(); ++i)
        shown.positions[i] = s.upDowns[i].position;
    return shown;
}

namespace {

void setFields(EditorState& s, const SceneFields& fields) {
    s.Shape2 = fields.background;
    s.CBSkryt = fields.hideControls;
    s.AxisOrder = fields.axisOrder;
    s.BackCornerMode = fields.backCornerMode;
    s.lbBodVisible = fields.lbBodVisible;
    s.prototyp = fields.library;
}

} // namespace

bool HistoryStep::tableOnlyCells() const {
    return std::ranges::all_of(
        changes, [](const TableChange& c) { return std::holds_alternative<CellChanged>(c); });
}

// Both steps only change cells: each later change continues the last change of its cell, so a
// cell written twice in one step (a shape the check renamed) still ends with its last new text.
void HistoryStep::mergeLater(HistoryStep&& later) {
    QHash<std::pair<int, int>, std::size_t> where; // a step of a group changes many cells
    where.reserve(qsizetype(changes.size()));
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const auto& mine = std::get<CellChanged>(changes[i]);
        where.insert({mine.row, mine.column}, i);
    }
    for (TableChange& change : later.changes) {
        auto& cell = std::get<CellChanged>(change);
        const auto same = where.constFind({cell.row, cell.column});
        if (same == where.cend()) {
            where.insert({cell.row, cell.column}, changes.size());
            changes.push_back(std::move(change));
        } else {
            std::get<CellChanged>(changes[*same]).after = std::move(cell.after);
        }
    }
    fieldsAfter = std::move(later.fieldsAfter);
    shownAfter = std::move(later.shownAfter);
}

History::History(EditorState& state)
    : s(state) {}

History::Step::Step(History& history, MergeKey key)
    : history(history) {
    history.begin(key);
}

History::Step::~Step() {
    history.end();
}

History::Pause::Pause(History& history)
    : history(history) {
    ++history.paused;
}

History::Pause::~Pause() {
    --history.paused;
}

void History::begin(MergeKey key) {
    if (depth++ > 0 || paused > 0)
        return;
    open = HistoryStep{key, {}, sceneFields(s), {}, controlsShown(s), {}};
}

void History::end() {
    if (--depth > 0 || paused > 0)
        return;
    HistoryStep step = std::move(open);
    open = {};
    step.fieldsAfter = sceneFields(s);
    if (step.changes.empty() && step.fieldsAfter == step.fieldsBefore)
        return;
    step.shownAfter = controlsShown(s);
    push(std::move(step));
}

void History::push(HistoryStep&& step) {
    steps.erase(steps.begin() + done, steps.end());
    if (saved > done)
        saved = -1;
    const bool merges = mergeOpen && done > 0 && saved != done &&
                        step.key.kind != MergeKey::Kind::None && steps.back().key == step.key &&
                        steps.back().tableOnlyCells() && step.tableOnlyCells();
    mergeOpen = step.key.kind != MergeKey::Kind::None;
    if (merges) {
        steps.back().mergeLater(std::move(step));
    } else {
        steps.push_back(std::move(step));
        ++done;
    }
    s.SceneSaved = false;
}

void History::cellChanged(int row, int column, const QString& before, const QString& after) {
    if (recording() && before != after)
        open.changes.emplace_back(CellChanged{row, column, before, after});
}

void History::rowInserted(int row, const PieceRow& cells) {
    if (recording())
        open.changes.emplace_back(RowInserted{row, cells});
}

void History::rowRemoved(int row, const PieceRow& cells) {
    if (recording())
        open.changes.emplace_back(RowRemoved{row, cells});
}

void History::rowsRemoved(const std::vector<int>& rows, const std::vector<PieceRow>& cells) {
    if (recording())
        open.changes.emplace_back(RowsRemoved{rows, cells});
}

void History::applyBackwards(const HistoryStep& step) {
    PieceTable& table = s.SGDilky;
    // The view hears of a step of many changes once.
    std::optional<PieceTable::Batch> batch;
    if (step.changes.size() > 16)
        batch.emplace(table);
    for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) {
        if (const auto* cell = std::get_if<CellChanged>(&*it))
            table.setCell(cell->column, cell->row, cell->before);
        else if (const auto* inserted = std::get_if<RowInserted>(&*it))
            table.removeRow(inserted->row);
        else if (const auto* removed = std::get_if<RowRemoved>(&*it))
            table.insertRow(removed->row, removed->cells);
        else if (const auto* many = std::get_if<RowsRemoved>(&*it))
            table.insertRows(many->rows, many->cells);
    }
    setFields(s, step.fieldsBefore);
}

void History::applyForwards(const HistoryStep& step) {
    PieceTable& table = s.SGDilky;
    std::optional<PieceTable::Batch> batch;
    if (step.changes.size() > 16)
        batch.emplace(table);
    for (const TableChange& change : step.changes) {
        if (const auto* cell = std::get_if<CellChanged>(&change))
            table.setCell(cell->column, cell->row, cell->after);
        else if (const auto* inserted = std::get_if<RowInserted>(&change))
            table.insertRow(inserted->row, inserted->cells);
        else if (const auto* removed = std::get_if<RowRemoved>(&change))
            table.removeRow(removed->row);
        else if (const auto* many = std::get_if<RowsRemoved>(&change))
            table.removeRows(many->rows);
    }
    setFields(s, step.fieldsAfter);
}

const ControlsShown* History::undo() {
    if (!canUndo())
        return nullptr;
    const Pause pause(*this);
    const HistoryStep& step = steps[std::size_t(--done)];
    applyBackwards(step);
    settleSaved();
    return &step.shownBefore;
}

const ControlsShown* History::redo() {
    if (!canRedo())
        return nullptr;
    const Pause pause(*this);
    const HistoryStep& step = steps[std::size_t(done++)];
    applyForwards(step);
    settleSaved();
    return &step.shownAfter;
}

void History::settleSaved() {
    mergeOpen = false;
    s.SceneSaved = done == saved;
}

void History::markSaved() {
    saved = done;
    mergeOpen = false;
}

void History::clear() {
    steps.clear();
    done = 0;
    saved = 0;
    mergeOpen = false;
}

} // namespace modulino
