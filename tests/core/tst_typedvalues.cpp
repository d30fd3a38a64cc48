#include "TestEditor.h"
#include "scene/TypedValue.h"

#include <QTest>

using namespace modulino;

namespace {

using Col = PieceTable::Column;

// Two white cubes, the first one current, as saved.
void twoPieces(TestEditor& t) {
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    t.editor.editing.selectRow(1);
    t.s.history.clear();
    t.s.markSaved();
}

} // namespace

class TestTypedValues : public QObject {
    Q_OBJECT

private slots:
    void typedValue_data();
    void typedValue();
    void onlyTheCurrentPiecesSizesAndPositions();
    void rangeTexts();
    void duplicateCopiesAndSelects();
    void duplicateOnEmptyTable();
};

void TestTypedValues::typedValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("cell"); // empty: not taken, the piece stays as it was
    QTest::addColumn<int>("tenths");
    QTest::newRow("4.4") << "4.4" << int(Col::RxColumn) << "4.4" << 44;
    QTest::newRow("4,4") << "4,4" << int(Col::XColumn) << "4.4" << 44;
    QTest::newRow("-20") << "-20" << int(Col::ZColumn) << "-20.0" << -200;
    QTest::newRow("20.1") << "20.1" << int(Col::YColumn) << "" << 0;
    QTest::newRow("0 size") << "0" << int(Col::RyColumn) << "" << 0;
    QTest::newRow("0 position") << "0" << int(Col::YColumn) << "0.0" << 0;
    QTest::newRow("10 size") << " 10 " << int(Col::RzColumn) << "10.0" << 100;
    QTest::newRow(",5") << ",5" << int(Col::RzColumn) << "0.5" << 5;
    QTest::newRow("1.25") << "1.25" << int(Col::RxColumn) << "" << 0;
    QTest::newRow("abc") << "abc" << int(Col::XColumn) << "" << 0;
    QTest::newRow("empty") << "" << int(Col::RxColumn) << "" << 0;
    QTest::newRow("1e1") << "1e1" << int(Col::RxColumn) << "" << 0;
}

// A valid value is written in tenths, the up-down takes it and it is one undo step; anything
// else changes nothing at all.
void TestTypedValues::typedValue() {
    QFETCH(QString, text);
    QFETCH(int, column);
    QFETCH(QString, cell);
    QFETCH(int, tenths);
    TestEditor t;
    twoPieces(t);
    const PieceRow before = t.s.SGDilky.row(1);
    const auto id = UpDownId(column - Col::RxColumn);
    const int positionBefore = t.s.upDown(id).position;

    const bool taken = t.editor.editing.SGDilkySetEditText(column, 1, text);
    QCOMPARE(taken, !cell.isEmpty());
    if (!taken) {
        QCOMPARE(t.s.SGDilky.row(1).cells, before.cells);
        QCOMPARE(t.s.upDown(id).position, positionBefore);
        QVERIFY(t.s.SceneSaved);
        QCOMPARE(t.s.history.stepCount(), 0);
        return;
    }
    QCOMPARE(t.cell(column, 1), cell);
    QCOMPARE(t.s.upDown(id).position, tenths);
    QVERIFY(!t.s.SceneSaved);
    QCOMPARE(t.s.history.stepCount(), 1);
    t.editor.undoRedo.ZpetClick();
    QCOMPARE(t.s.SGDilky.row(1).cells, before.cells);
    QCOMPARE(t.s.upDown(id).position, positionBefore);
    QVERIFY(t.s.SceneSaved);
}

// A size runs the shape check as an arrow does; other columns and rows take nothing.
void TestTypedValues::onlyTheCurrentPiecesSizesAndPositions() {
    TestEditor t;
    twoPieces(t);
    PieceEditing& e = t.editor.editing;
    QVERIFY(e.SGDilkySetEditText(Col::RyColumn, 1, QStringLiteral("2")));
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "kvádr");
    QCOMPARE(t.s.varovani, t.s.texts.ShapeTexts[4]);
    QVERIFY(!e.SGDilkySetEditText(Col::RxColumn, 2, QStringLiteral("3")));
    QVERIFY(!e.SGDilkySetEditText(Col::ControlsColumn, 1, QStringLiteral("3")));
    QVERIFY(!e.SGDilkySetEditText(Col::ColourColumn, 1, QStringLiteral("3")));
    QCOMPARE(t.cell(Col::RxColumn, 2), "1");
}

void TestTypedValues::rangeTexts() {
    EditorState s;
    QCOMPARE(rangeText(s.upDown(UpDownId::UDrx)), "0.1 … 10.0");
    QCOMPARE(rangeText(s.upDown(UpDownId::UDz)), "-20.0 … 20.0");
}

void TestTypedValues::duplicateCopiesAndSelects() {
    TestEditor t;
    twoPieces(t);
    const QStringList cells{"255", "koule", "1.50", "2", "1.5", "-3",
                            "0",   "2.25",  "NE",   "1", "0",   "0"};
    for (int c = 0; c < PieceTable::ColumnCount; ++c)
        t.s.SGDilky.setCell(c, 1, cells[c]);
    t.editor.editing.selectRow(1);
    t.s.OverColourColumn = true; // the copy keeps its colour: no dialog
    t.s.markSaved();
    t.editor.editing.Duplikovat1Click();
    QCOMPARE(t.s.SGDilky.rowCount(), 4);
    QCOMPARE(t.s.SGDilky.row(3).cells, t.s.SGDilky.row(1).cells);
    QCOMPARE(t.s.SGDilky.currentRow(), 3);
    QCOMPARE(t.s.CurrentRow, 3);
    QCOMPARE(t.s.upDown(UpDownId::UDry).position, 20);
    QCOMPARE(t.s.upDown(UpDownId::UDz).position, 22);
    QVERIFY(!t.s.CBovl);
    QVERIFY(!t.s.SceneSaved);
    QVERIFY(t.dialogs.allAnswered());

    t.editor.undoRedo.ZpetClick();
    QCOMPARE(t.s.SGDilky.rowCount(), 3);
    QCOMPARE(t.s.SGDilky.currentRow(), 1);
    QVERIFY(t.s.SceneSaved);
    t.editor.undoRedo.ZnovuClick();
    QCOMPARE(t.s.SGDilky.row(3).cells, t.s.SGDilky.row(1).cells);
}

void TestTypedValues::duplicateOnEmptyTable() {
    TestEditor t;
    t.editor.editing.Duplikovat1Click();
    QCOMPARE(t.s.SGDilky.rowCount(), 1);
    QVERIFY(t.s.SceneSaved);
    QVERIFY(!t.s.history.canUndo());
}

QTEST_GUILESS_MAIN(TestTypedValues)
#include "tst_typedvalues.moc"
