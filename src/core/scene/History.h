#pragma once

#include "base/Colours.h"
#include "scene/PieceTable.h"

#include <QByteArrayList>
#include <QString>
#include <array>
#include <variant>
#include <vector>

namespace modulino {

struct EditorState;

// What Save writes besides the table rows.
struct SceneFields {
    Colour background = 0;
    bool hideControls = false;
    int axisOrder = 0;
    bool backCornerMode = false;
    bool lbBodVisible = false;
    QByteArrayList library;
    bool operator==(const SceneFields&) const = default;
};

// What the table's selection and the editing controls showed.
struct ControlsShown {
    int tableRow = 0;
    bool headerFixed = false;
    bool wholeRows = false;
    int CurrentRow = 1;
    std::array<int, 6> positions{};
    int shapeSelected = -1;
    QString shapeText;
    bool CBovl = false;
    Colour Shape1 = 0;
    QString varovani;
    RowRanges selection; // the rows selected beside the current one, if any
};

struct CellChanged {
    int row;
    int column;
    QString before;
    QString after;
};
struct RowInserted {
    int row;
    PieceRow cells;
};
struct RowRemoved {
    int row;
    PieceRow cells;
};
// Several rows removed at once; `rows` in ascending order as they stood.
struct RowsRemoved {
    std::vector<int> rows;
    std::vector<PieceRow> cells;
};
using TableChange = std::variant<CellChanged, RowInserted, RowRemoved, RowsRemoved>;

// Steps with the same key that follow each other become one: the arrow clicks and wheel notches
// on one cell of one piece, the pointer moving over the axis conventions.
struct MergeKey {
    enum class Kind { None, Cell, AxisConvention } kind = Kind::None;
    int row = 0;
    int column = 0;
    bool operator==(const MergeKey&) const = default;
    static MergeKey cell(int row, int column) { return {Kind::Cell, row, column}; }
    static MergeKey axisConvention() { return {Kind::AxisConvention, 0, 0}; }
};

// One undoable step: the table changes in the order they were made, and the scene fields and
// controls before and after.
struct HistoryStep {
    MergeKey key;
    std::vector<TableChange> changes;
    SceneFields fieldsBefore, fieldsAfter;
    ControlsShown shownBefore, shownAfter;

    bool tableOnlyCells() const;
    void mergeLater(HistoryStep&& later);
};

// The undo history of one scene. The piece table reports every change to it while a step is open;
// the scene fields and the controls are compared when the step closes. New and Open are its edges.
// A handler records a step by opening a Step and changing the scene as usual (setCell, setRow,
// appendRow, removeRow and the fields): nothing else is needed, and a step that changed nothing
// is dropped. Every change to the piece rows must happen inside a Step or a Pause.
class History : public PieceTable::Recorder {
public:
    explicit History(EditorState& state);

    // Marks one user action; actions nested inside it belong to the same step.
    class Step {
    public:
        explicit Step(History& history, MergeKey key = {});
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

    private:
        History& history;
    };
    // While a Pause lives nothing is recorded: reading a file, a new scene, undo and redo.
    class Pause {
    public:
        explicit Pause(History& history);
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        History& history;
    };

    bool canUndo() const { return done > 0; }
    bool canRedo() const { return done < int(steps.size()); }
    int stepCount() const { return int(steps.size()); }
    // Undoes or redoes the data of one step and gives back the controls it showed then; SceneSaved
    // follows whether the scene is back at the state last saved or opened.
    const ControlsShown* undo();
    const ControlsShown* redo();

    // The scene as it stands now is the one saved or opened.
    void markSaved();
    // No state in the history is the saved one any more (a restored recovery copy).
    void markNotSaved() { saved = -1; }
    // Forgets every step: a new or opened scene.
    void clear();
    // Consecutive steps with the same key no longer merge (a row was selected).
    void stopMerging() { mergeOpen = false; }

    void cellChanged(int row, int column, const QString& before, const QString& after) override;
    void rowInserted(int row, const PieceRow& cells) override;
    void rowRemoved(int row, const PieceRow& cells) override;
    void rowsRemoved(const std::vector<int>& rows, const std::vector<PieceRow>& cells) override;

private:
    bool recording() const { return depth > 0 && paused == 0; }
    void begin(MergeKey key);
    void end();
    void push(HistoryStep&& step);
    void applyBackwards(const HistoryStep& step);
    void applyForwards(const HistoryStep& step);
    void settleSaved();

    EditorState& s;
    std::vector<HistoryStep> steps;
    int done = 0;  // steps[0..done) are in effect
    int saved = 0; // the value of `done` at the last save; -1 when no longer reachable
    bool mergeOpen = false;
    int depth = 0;
    int paused = 0;
    HistoryStep open;
};

SceneFields sceneFields(const EditorState& s);
ControlsShown controlsShown(const EditorState& s);

} // namespace modulino
