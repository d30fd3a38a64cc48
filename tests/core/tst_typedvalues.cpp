#include "TestEditor.h"
#include "scene/Numbers.h"

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

// Undo and redo of both edits are rows of the history test.
class TestTypedValues : public QObject {
    Q_OBJECT

private slots:
    void typedValue_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("cell"); // empty: not taken, nothing changes
        QTest::newRow("4.4") << "4.4" << int(Col::RxColumn) << "4.4";
        QTest::newRow("4,4") << "4,4" << int(Col::XColumn) << "4.4";
        QTest::newRow("-20") << "-20" << int(Col::ZColumn) << "-20.0";
        QTest::newRow("20.1") << "20.1" << int(Col::YColumn) << "";
        QTest::newRow("0 size") << "0" << int(Col::RyColumn) << "";
        QTest::newRow("0 position") << "0" << int(Col::YColumn) << "0.0";
        QTest::newRow(" ,5 ") << " ,5 " << int(Col::RzColumn) << "0.5";
        QTest::newRow("1.25") << "1.25" << int(Col::RxColumn) << "";
        QTest::newRow("abc") << "abc" << int(Col::XColumn) << "";
        QTest::newRow("empty") << "" << int(Col::RxColumn) << "";
        QTest::newRow("1e1") << "1e1" << int(Col::RxColumn) << "";
        QTest::newRow("controls column") << "1" << int(Col::ControlsColumn) << "";
    }

    // A value taken is written in tenths and the up-down holds it; anything else changes nothing.
    void typedValue() {
        QFETCH(QString, text);
        QFETCH(int, column);
        QFETCH(QString, cell);
        TestEditor t;
        twoPieces(t);
        const PieceRow before = t.s.SGDilky.row(1);
        const auto positions = controlsShown(t.s).positions;
        QCOMPARE(t.editor.editing.SGDilkySetEditText(column, 1, text), !cell.isEmpty());
        QCOMPARE(t.s.SceneSaved, cell.isEmpty());
        QCOMPARE(t.s.history.stepCount(), cell.isEmpty() ? 0 : 1);
        if (cell.isEmpty()) {
            QCOMPARE(t.s.SGDilky.row(1).cells, before.cells);
            QCOMPARE(controlsShown(t.s).positions, positions);
            return;
        }
        QCOMPARE(t.cell(column, 1), cell);
        QCOMPARE(TenthsText(t.s.upDowns[std::size_t(column - Col::RxColumn)].position, 3), cell);
        QVERIFY(!t.editor.editing.SGDilkySetEditText(column, 2, text)); // not the current piece
    }

    // The copy is the current piece's twelve cells, selected without the colour dialog.
    void duplicate() {
        TestEditor t;
        t.editor.editing.Duplikovat1Click(); // an empty table: nothing
        QCOMPARE(t.s.SGDilky.rowCount(), 1);
        QVERIFY(t.s.SceneSaved);
        twoPieces(t);
        const QStringList cells{"255", "koule", "1.50", "2", "1.5", "-3",
                                "0",   "2.25",  "NE",   "1", "0",   "0"};
        for (int c = 0; c < PieceTable::ColumnCount; ++c)
            t.s.SGDilky.setCell(c, 1, cells[c]);
        t.editor.editing.selectRow(1);
        t.s.OverColourColumn = true;
        t.s.markSaved();
        t.editor.editing.Duplikovat1Click();
        QCOMPARE(t.s.SGDilky.rowCount(), 4);
        QCOMPARE(t.s.SGDilky.row(3).cells, t.s.SGDilky.row(1).cells);
        QCOMPARE(t.s.SGDilky.currentRow(), 3);
        QCOMPARE(t.s.CurrentRow, 3);
        QCOMPARE(t.s.upDown(UpDownId::UDz).position, 22);
        QVERIFY(!t.s.CBovl);
        QVERIFY(!t.s.SceneSaved);
        QVERIFY(t.dialogs.allAnswered());
    }
};

QTEST_GUILESS_MAIN(TestTypedValues)
#include "tst_typedvalues.moc"
