#include "TestEditor.h"

#include <QTest>

using namespace modulino;

namespace {
using Held = WheelEditing::Held;
using Col = PieceTable::Column;
} // namespace

Q_DECLARE_METATYPE(modulino::WheelEditing::Held)

class WheelTest : public QObject {
    Q_OBJECT
private slots:
    void steps_data();
    void steps();
    void shapeSteps();
    void controlsFlagToggles();
    void colourColumnDoesNothing();
    void emptyTableChangesOnlyControls();
    void editsCurrentRowNotPointerRow();
};

void WheelTest::steps_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("direction");
    QTest::addColumn<Held>("held");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("notches");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("position");
    const Held none{}, shift{true, false}, left{false, true};
    QTest::newRow("size down held at 1") << 2 << -1 << none << 10 << 3 << "0.1" << 1;
    QTest::newRow("size up held at 100") << 3 << +1 << none << 95 << 1 << "10.0" << 100;
    QTest::newRow("size fine with shift") << 4 << +1 << shift << 10 << 1 << "1.1" << 11;
    QTest::newRow("size two digits") << 2 << +1 << left << 122 << 1 << "10.0" << 100;
    QTest::newRow("size 12 to 13") << 2 << +1 << shift << 12 << 1 << "1.3" << 13;
    QTest::newRow("position up with shift") << 5 << +1 << shift << 0 << 1 << "0.1" << 1;
    QTest::newRow("position up coarse") << 5 << +1 << none << 0 << 1 << "1.0" << 10;
    QTest::newRow("position held at 200") << 6 << +1 << none << 195 << 1 << "20.0" << 200;
    QTest::newRow("position three digits") << 7 << +1 << shift << 120 << 1 << "12.1" << 121;
    QTest::newRow("position fine with left button") << 7 << -1 << left << 0 << 2 << "-0.2" << -2;
    QTest::newRow("position held at -200") << 5 << -1 << none << -195 << 2 << "-20.0" << -200;
}

void WheelTest::steps() {
    QFETCH(int, column);
    QFETCH(int, direction);
    QFETCH(Held, held);
    QFETCH(int, start);
    QFETCH(int, notches);
    QFETCH(QString, cell);
    QFETCH(int, position);
    TestEditor t;
    t.editor.editing.PridejClick();
    t.s.SceneSaved = true;
    const auto id = UpDownId(column - Col::RxColumn);
    t.s.upDown(id).setPosition(start);
    t.s.MouseColumn = column;
    for (int i = 0; i < notches; ++i) {
        if (direction > 0)
            t.editor.wheel.SGDilkyMouseWheelUp(held);
        else
            t.editor.wheel.SGDilkyMouseWheelDown(held);
    }
    QCOMPARE(t.cell(column, 1), cell);
    QCOMPARE(t.s.upDown(id).position, position);
    QVERIFY(!t.s.SceneSaved); // the wheel wrote the cell
}

void WheelTest::shapeSteps() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.s.MouseColumn = Col::ShapeColumn;
    t.editor.editing.TvarChange(5);
    t.editor.wheel.SGDilkyMouseWheelUp({});
    QCOMPARE(t.s.Tvar.selected, 6);
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "trojboký hranol");
    t.editor.wheel.SGDilkyMouseWheelUp({});
    QCOMPARE(t.s.Tvar.selected, 6);
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "trojboký hranol");

    // From no selection a notch up takes the first item; a notch down writes the shown text.
    t.s.Tvar.selected = -1;
    t.s.Tvar.text = QStringLiteral("kužel");
    t.editor.wheel.SGDilkyMouseWheelDown({});
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "kužel");
    t.editor.wheel.SGDilkyMouseWheelUp({});
    QCOMPARE(t.s.Tvar.selected, 0);
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "krychle");

    // The shape check runs after the step: a cube with unequal sizes becomes a cuboid.
    t.s.upDown(UpDownId::UDrx).setPosition(20);
    t.editor.wheel.SGDilkyMouseWheelDown({});
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "kvádr");
    QCOMPARE(t.s.varovani, t.s.texts.ShapeTexts[4]);
}

void WheelTest::controlsFlagToggles() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.s.MouseColumn = Col::ControlsColumn;
    QVERIFY(t.s.CBovl);
    t.editor.wheel.SGDilkyMouseWheelDown({});
    QVERIFY(!t.s.CBovl);
    QCOMPARE(t.cell(Col::ControlsColumn, 1), "NE");
    t.editor.wheel.SGDilkyMouseWheelDown({});
    QCOMPARE(t.cell(Col::ControlsColumn, 1), "ANO");
    t.editor.wheel.SGDilkyMouseWheelUp({});
    QCOMPARE(t.cell(Col::ControlsColumn, 1), "NE");
}

void WheelTest::colourColumnDoesNothing() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    t.editor.editing.selectRow(1);
    t.s.MouseColumn = Col::ColourColumn;
    const PieceRow before = t.s.SGDilky.row(1);
    const auto upDownsBefore = t.s.upDowns;
    t.editor.wheel.SGDilkyMouseWheelUp({});
    t.editor.wheel.SGDilkyMouseWheelDown({true, true});
    QVERIFY(t.s.SGDilky.row(1).cells == before.cells);
    for (std::size_t i = 0; i < 6; ++i)
        QCOMPARE(t.s.upDowns[i].position, upDownsBefore[i].position);
    QCOMPARE(t.s.SGDilky.currentRow(), 1);
}

void WheelTest::emptyTableChangesOnlyControls() {
    TestEditor t;
    t.s.MouseColumn = Col::XColumn;
    t.editor.wheel.SGDilkyMouseWheelUp({});
    QCOMPARE(t.s.upDown(UpDownId::UDx).position, 10);
    QCOMPARE(t.s.SGDilky.rowCount(), 1);
    t.s.MouseColumn = Col::ControlsColumn;
    t.editor.wheel.SGDilkyMouseWheelUp({});
    QVERIFY(t.s.CBovl);
    QCOMPARE(t.s.SGDilky.rowCount(), 1);
}

void WheelTest::editsCurrentRowNotPointerRow() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    t.editor.editing.selectRow(1);
    t.editor.editing.SGDilkyMouseMove(280); // over column x, on whatever row
    t.editor.wheel.SGDilkyMouseWheelUp({});
    QCOMPARE(t.cell(Col::XColumn, 1), "1.0");
    QCOMPARE(t.cell(Col::XColumn, 2), "0");
}

QTEST_GUILESS_MAIN(WheelTest)
#include "tst_wheel.moc"
