#include "TestEditor.h"

#include <QTest>

using namespace modulino;

namespace {

using Col = PieceTable::Column;
using Edit = void (*)(TestEditor&);

// Three pieces with texts of their own, as a file gives them, the second one current.
void threePieces(TestEditor& t) {
    for (int i = 0; i < 3; ++i)
        t.editor.editing.PridejClick();
    const QStringList texts[] = {
        {"255", "koule", "1.50", "1.50", "1.50", "-3", "0", "2.25", "ANO", "1", "0", "0"},
        {"65280", "kvádr", "2.0", "1.0", "1.5", "-3.0", "0.0", "2.5", "NE", "0", "1", "0"},
        {"16711680", "Krychle", "1", "1", "1", "0", "0", "0", "ANO", "0", "0", "1"}};
    for (int r = 1; r <= 3; ++r)
        for (int c = 0; c < PieceTable::ColumnCount; ++c)
            t.s.SGDilky.setCell(c, r, texts[r - 1][c]);
    t.editor.editing.selectRow(2);
    t.s.history.clear();
    t.s.markSaved();
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestHistory : public QObject {
    Q_OBJECT

private slots:
    void everyKindOfStep_data();
    void everyKindOfStep();
    void clicksOnOneCellMerge();
    void savedPointFollowsUndo();
    void newAndOpenStartAFreshHistory();
    void undoShowsTheAffectedPiece();
};

void TestHistory::everyKindOfStep_data() {
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<int>("affectedRow");
    QTest::newRow("arrow click") << Edit([](TestEditor& t) {
        t.editor.editing.pressUpDown(UpDownId::UDx, +1);
    }) << 2;
    QTest::newRow("wheel notch") << Edit([](TestEditor& t) {
        t.s.MouseColumn = Col::RyColumn;
        t.editor.wheel.SGDilkyMouseWheelUp({});
    }) << 2;
    QTest::newRow("shape") << Edit([](TestEditor& t) { t.editor.editing.TvarChange(4); }) << 2;
    QTest::newRow("check box") << Edit([](TestEditor& t) { t.editor.editing.setCBovl(true); }) << 2;
    QTest::newRow("piece colour") << Edit([](TestEditor& t) {
        t.dialogs.colourAnswers << rgb(1, 2, 3);
        t.editor.editing.Shape1MouseDown();
    }) << 2;
    QTest::newRow("colour column") << Edit([](TestEditor& t) {
        t.dialogs.colourAnswers << rgb(1, 2, 3);
        t.s.OverColourColumn = true;
        t.editor.editing.selectRow(2);
    }) << 2;
    QTest::newRow("delete") << Edit([](TestEditor& t) { t.editor.editing.DelClick(); }) << 2;
    QTest::newRow("delete last") << Edit([](TestEditor& t) { t.editor.editing.DelClick(); }) << 3;
    // Undo shows the piece that was current before the add.
    QTest::newRow("add") << Edit([](TestEditor& t) { t.editor.editing.PridejClick(); }) << 2;
    QTest::newRow("typed value") << Edit([](TestEditor& t) {
        t.editor.editing.SGDilkySetEditText(Col::RzColumn, 2, QStringLiteral("4,4"));
    }) << 2;
    QTest::newRow("duplicate") << Edit([](TestEditor& t) { t.editor.editing.Duplikovat1Click(); })
                               << 2;
    QTest::newRow("background") << Edit([](TestEditor& t) {
        t.dialogs.colourAnswers << rgb(1, 2, 3);
        t.editor.editing.Shape2MouseDown();
    }) << 2;
    QTest::newRow("hide controls")
        << Edit([](TestEditor& t) { t.editor.editing.CBSkrytClick(true); }) << 2;
    QTest::newRow("corner picture")
        << Edit([](TestEditor& t) { t.editor.panels.Image1Click(); }) << 2;
    QTest::newRow("question mark")
        << Edit([](TestEditor& t) { t.editor.panels.lbBodClick(); }) << 2;
    QTest::newRow("axis convention")
        << Edit([](TestEditor& t) { t.editor.panels.ImXYZClick(2); }) << 2;
    QTest::newRow("pointer over a convention")
        << Edit([](TestEditor& t) { t.editor.panels.ImYZXMouseMove(1); }) << 2;
}

// Undo gives back the cells' texts and the fields exactly, and redo the edit's; both make the
// affected piece current and tell whether the scene is as saved.
void TestHistory::everyKindOfStep() {
    QFETCH(Edit, edit);
    QFETCH(int, affectedRow);
    TestEditor t;
    threePieces(t);
    if (affectedRow == 3)
        t.editor.editing.selectRow(3);
    t.s.lbBodVisible = true;
    t.s.markSaved();
    const SceneSnapshot before(t.s);
    const ControlsShown shownBefore = controlsShown(t.s);
    edit(t);
    const SceneSnapshot after(t.s);
    const ControlsShown shownAfter = controlsShown(t.s);
    QVERIFY(!(after == before));
    QVERIFY(!t.s.SceneSaved);
    QVERIFY(t.dialogs.allAnswered());

    for (int round = 0; round < 2; ++round) {
        t.editor.undoRedo.ZpetClick();
        QVERIFY(SceneSnapshot(t.s) == before);
        QVERIFY(t.s.SceneSaved);
        QCOMPARE(t.s.SGDilky.currentRow(), affectedRow);
        QCOMPARE(t.s.CurrentRow, affectedRow);
        QCOMPARE(controlsShown(t.s).positions, shownBefore.positions);
        QCOMPARE(t.s.Shape1, shownBefore.Shape1);
        QVERIFY(!t.s.history.canUndo());

        t.editor.undoRedo.ZnovuClick();
        QVERIFY(SceneSnapshot(t.s) == after);
        QVERIFY(!t.s.SceneSaved);
        QCOMPARE(t.s.SGDilky.currentRow(), shownAfter.tableRow);
        QCOMPARE(controlsShown(t.s).positions, shownAfter.positions);
        QVERIFY(!t.s.history.canRedo());
    }
}

void TestHistory::clicksOnOneCellMerge() {
    TestEditor t;
    threePieces(t);
    PieceEditing& e = t.editor.editing;
    for (int i = 0; i < 5; ++i)
        e.pressUpDown(UpDownId::UDrx, +1);
    t.s.MouseColumn = Col::RxColumn;
    t.editor.wheel.SGDilkyMouseWheelUp({}); // the same cell: the same step
    QCOMPARE(t.cell(Col::RxColumn, 2), "3.5");
    QCOMPARE(t.s.history.stepCount(), 1);

    e.pressUpDown(UpDownId::UDry, +1); // another cell
    e.selectRow(2);
    e.pressUpDown(UpDownId::UDry, +1); // after a selection
    QCOMPARE(t.s.history.stepCount(), 3);

    t.editor.undoRedo.ZpetClick();
    t.editor.undoRedo.ZpetClick();
    QCOMPARE(t.cell(Col::RyColumn, 2), "1.0");
    t.editor.undoRedo.ZpetClick();
    QCOMPARE(t.cell(Col::RxColumn, 2), "2.0");
    QVERIFY(t.s.SceneSaved);

    // A click after an undo starts a step of its own and drops what could be redone.
    e.pressUpDown(UpDownId::UDrx, +1);
    e.pressUpDown(UpDownId::UDrx, +1);
    QCOMPARE(t.s.history.stepCount(), 1);
    QVERIFY(!t.s.history.canRedo());
}

void TestHistory::savedPointFollowsUndo() {
    TestEditor t;
    threePieces(t);
    PieceEditing& e = t.editor.editing;
    e.pressUpDown(UpDownId::UDz, +1);
    t.s.markSaved();
    e.pressUpDown(UpDownId::UDz, +1); // saved in between: no merge
    QCOMPARE(t.s.history.stepCount(), 2);
    t.editor.undoRedo.ZpetClick();
    QVERIFY(t.s.SceneSaved);
    t.editor.undoRedo.ZpetClick();
    QVERIFY(!t.s.SceneSaved);
    t.editor.undoRedo.ZnovuClick();
    QVERIFY(t.s.SceneSaved);

    // The saved state was undone and replaced: no step leads back to it.
    t.editor.undoRedo.ZpetClick();
    e.PridejClick();
    t.editor.undoRedo.ZpetClick();
    QVERIFY(!t.s.SceneSaved);
}

void TestHistory::newAndOpenStartAFreshHistory() {
    TestEditor t;
    threePieces(t);
    t.editor.editing.DelClick();
    t.dialogs.confirmAnswers << true;
    t.editor.lifecycle.Nov1Click();
    QVERIFY(!t.s.history.canUndo());
    t.editor.undoRedo.ZpetClick(); // nothing to undo: nothing happens
    QCOMPARE(t.s.SGDilky.rowCount(), 1);

    t.editor.editing.PridejClick();
    const QString path = t.folder.filePath("scene.wrl");
    t.dialogs.saveAnswers << path;
    t.editor.commands.Uloitjako1Click();
    t.editor.editing.PridejClick();
    QCOMPARE(t.editor.opening.openFile(path), SceneOpening::OpenResult::Opened);
    QVERIFY(!t.s.history.canUndo());
    QVERIFY(t.s.SceneSaved);
    QVERIFY(t.dialogs.allAnswered());
}

// After undoing a delete the piece is back in its place, current, and the controls show it.
void TestHistory::undoShowsTheAffectedPiece() {
    TestEditor t;
    threePieces(t);
    const ControlsShown shown = controlsShown(t.s);
    t.editor.editing.DelClick();
    t.editor.editing.selectRow(1);
    t.editor.undoRedo.ZpetClick();
    QCOMPARE(t.cell(Col::ShapeColumn, 2), "kvádr");
    QCOMPARE(t.s.SGDilky.currentRow(), 2);
    QCOMPARE(t.s.Tvar.selected, shown.shapeSelected);
    QCOMPARE(t.s.CBovl, shown.CBovl);
    QCOMPARE(t.s.varovani, shown.varovani);
    t.editor.editing.pressUpDown(UpDownId::UDx, +1);
    QCOMPARE(t.cell(Col::XColumn, 2), "-2.9");
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
