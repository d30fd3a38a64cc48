#include "TestEditor.h"

#include <QTest>

using namespace modulino;

namespace {

using Col = PieceTable::Column;
using Edit = void (*)(TestEditor&);

// Fills a piece row's cells from a list, columns 0..11.
void setRowCells(EditorState& s, int row, const QStringList& cells) {
    PieceRow r;
    for (int c = 0; c < 12; ++c)
        r[c] = cells.value(c);
    s.SGDilky.setRow(row, r);
}

QStringList rowCells(const EditorState& s, int row) {
    QStringList cells;
    for (int c = 0; c < 12; ++c)
        cells << s.SGDilky.cell(c, row);
    return cells;
}

const QStringList NewPiece{"16777215", "krychle", "1",   "1", "1", "0",
                           "0",        "0",       "ANO", "1", "1", "1"};

std::array<int, 6> upDownPositions(const EditorState& s) {
    std::array<int, 6> p{};
    for (int i = 0; i < 6; ++i)
        p[std::size_t(i)] = s.upDowns[std::size_t(i)].position;
    return p;
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class PieceEditingTest : public QObject {
    Q_OBJECT
private slots:
    void startsEmpty();
    void addToEmptyTable();
    void addAppendsAndSelects();
    void deleteMiddleLoadsTheNextPiece();
    void deleteLastSelectsNewLast();
    void deleteOnlyPieceEmptiesTable();
    void deleteOnEmptyTable();
    void selectionLoadsControls();
    void selectionOfBadCells_data();
    void selectionOfBadCells();
    void selectionClampsButKeepsCell();
    void selectionInColourColumnOpensColourDialog();
    void overColourColumnSurvivesLeavingTheTable();
    void mouseColumnBounds_data();
    void mouseColumnBounds();
    void upDownWritesTenthsText();
    void positionArrowsCountInTenths_data();
    void positionArrowsCountInTenths();
    void upDownAtBoundRunsNothing();
    void upDownWithEmptyTable();
    void vyzva_data();
    void vyzva();
    void vyzvaKeepsWarningWhileListIsStale();
    void shapeListWritesCell();
    void controlsFlag();
    void swatches();
    void everyEditClearsSceneSaved_data();
    void everyEditClearsSceneSaved();
};

void PieceEditingTest::startsEmpty() {
    TestEditor t;
    QCOMPARE(t.s.SGDilky.rowCount(), 1);
    QVERIFY(!t.s.SGDilky.headerFixed());
    QCOMPARE(t.s.SGDilky.currentRow(), 0);
    QCOMPARE(t.s.CurrentRow, 1);
    QCOMPARE(rowCells(t.s, 0), QStringList({"barva", "tvar", "rx", "ry", "rz", "x", "y", "z",
                                            "ANO / NE", "", "", ""}));
}

void PieceEditingTest::addToEmptyTable() {
    TestEditor t;
    t.s.CurrentRow = 3; // as after a new scene while row 3 was current
    t.s.upDown(UpDownId::UDx).setPosition(50);
    t.editor.editing.PridejClick();

    QCOMPARE(t.s.SGDilky.rowCount(), 2);
    QCOMPARE(rowCells(t.s, 1), NewPiece);
    QVERIFY(t.s.SGDilky.headerFixed());
    QVERIFY(t.s.SGDilky.wholeRowSelect());
    QCOMPARE(t.s.SGDilky.currentRow(), 1);
    QCOMPARE(t.s.CurrentRow, 1);
    QCOMPARE(upDownPositions(t.s), (std::array<int, 6>{10, 10, 10, 0, 0, 0}));
    QVERIFY(t.s.CBovl);
    QCOMPARE(t.s.Tvar.selected, 0);
    QCOMPARE(t.s.Shape1, White);
    QVERIFY(!t.s.SceneSaved);
    QVERIFY(t.dialogs.allAnswered());
}

void PieceEditingTest::addAppendsAndSelects() {
    TestEditor t;
    for (int i = 0; i < 3; ++i)
        t.editor.editing.PridejClick();
    setRowCells(t.s, 2, {"255", "koule", "2", "2", "2", "1", "1", "1", "NE", "1", "0", "0"});
    const QStringList second = rowCells(t.s, 2);
    t.editor.editing.PridejClick();
    QCOMPARE(t.s.SGDilky.rowCount(), 5);
    QCOMPARE(rowCells(t.s, 2), second);
    QCOMPARE(rowCells(t.s, 4), NewPiece);
    QCOMPARE(t.s.CurrentRow, 4);
}

void PieceEditingTest::deleteMiddleLoadsTheNextPiece() {
    TestEditor t;
    for (int i = 0; i < 3; ++i)
        t.editor.editing.PridejClick();
    setRowCells(t.s, 1, {"1", "krychle", "0.1", "0.1", "0.1", "1", "1", "1", "ANO", "1", "1", "1"});
    setRowCells(t.s, 2, {"2", "kvádr", "0.2", "0.3", "0.4", "2", "2", "2", "NE", "1", "1", "1"});
    setRowCells(t.s, 3, {"3", "koule", "0.3", "0.3", "0.3", "3", "3", "3", "ANO", "1", "1", "1"});
    t.editor.editing.selectRow(2);
    t.s.SceneSaved = true;
    t.s.OverColourColumn = true; // the pointer last over the colour column: still no dialog

    t.editor.editing.DelClick();
    QCOMPARE(t.s.SGDilky.rowCount(), 3);
    QCOMPARE(t.cell(0, 1), "1");
    QCOMPARE(t.cell(0, 2), "3");
    QCOMPARE(t.s.SGDilky.currentRow(), 2);
    QCOMPARE(t.s.CurrentRow, 2);
    QCOMPARE(upDownPositions(t.s), (std::array<int, 6>{3, 3, 3, 30, 30, 30}));
    QCOMPARE(t.s.Shape1, Colour(3));
    QVERIFY(t.s.CBovl);
    QCOMPARE(t.s.Tvar.selected, 4);
    QCOMPARE(t.dialogs.colourDialogs, 0);
    QVERIFY(!t.s.SceneSaved);

    // The next click starts from the piece now current.
    t.editor.editing.pressUpDown(UpDownId::UDx, +1);
    QCOMPARE(t.cell(Col::XColumn, 2), "3.1");
}

void PieceEditingTest::deleteLastSelectsNewLast() {
    TestEditor t;
    for (int i = 0; i < 3; ++i)
        t.editor.editing.PridejClick();
    setRowCells(t.s, 2, {"2", "kvádr", "0.2", "0.3", "0.4", "2", "2", "2", "NE", "1", "1", "1"});
    t.s.OverColourColumn = true; // no colour dialog either way
    t.editor.editing.DelClick(); // row 3 was current
    QCOMPARE(t.s.SGDilky.rowCount(), 3);
    QCOMPARE(t.s.SGDilky.currentRow(), 2);
    QCOMPARE(t.s.CurrentRow, 2);
    QCOMPARE(upDownPositions(t.s), (std::array<int, 6>{2, 3, 4, 20, 20, 20}));
    QCOMPARE(t.s.Tvar.selected, 1);
    QVERIFY(!t.s.CBovl);
}

void PieceEditingTest::deleteOnlyPieceEmptiesTable() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.s.upDown(UpDownId::UDrx).setPosition(40);
    t.editor.editing.DelClick();
    QVERIFY(t.s.SGDilky.isEmpty());
    QVERIFY(!t.s.SGDilky.headerFixed());
    QCOMPARE(t.s.SGDilky.currentRow(), 0);
    QCOMPARE(t.s.CurrentRow, 1);
    QVERIFY(t.s.SGDilky.wholeRowSelect());
    QCOMPARE(t.s.upDown(UpDownId::UDrx).position, 40); // no selection ran
}

void PieceEditingTest::deleteOnEmptyTable() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.editing.DelClick();
    t.s.SceneSaved = true;
    t.editor.editing.DelClick();
    QVERIFY(t.s.SGDilky.isEmpty());
    QVERIFY(!t.s.SGDilky.wholeRowSelect());
    QVERIFY(!t.s.SceneSaved);
}

void PieceEditingTest::selectionLoadsControls() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    setRowCells(
        t.s, 1,
        {"65280", "jehlan", "1.5", "0.25", "2", "-3.0", "0.35", "12.3", "NE", "0", "1", "0"});
    t.s.SceneSaved = true;
    t.editor.editing.selectRow(1);
    QCOMPARE(t.s.CurrentRow, 1);
    QCOMPARE(upDownPositions(t.s), (std::array<int, 6>{15, 2, 20, -30, 4, 123}));
    QCOMPARE(t.s.Shape1, rgb(0, 255, 0));
    QCOMPARE(t.s.Tvar.selected, 5);
    QCOMPARE(t.s.Tvar.text, "jehlan");
    QVERIFY(!t.s.CBovl);
    QCOMPARE(t.cell(Col::ControlsColumn, 1), "NE");
    QVERIFY(!t.s.SceneSaved);

    // Selecting the current row again reloads it and clears SceneSaved as well.
    t.s.SceneSaved = true;
    t.s.upDown(UpDownId::UDx).setPosition(0);
    t.editor.editing.selectRow(1);
    QCOMPARE(t.s.upDown(UpDownId::UDx).position, -30);
    QVERIFY(!t.s.SceneSaved);
}

void PieceEditingTest::selectionOfBadCells_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    for (int c : {0, 2, 3, 4, 5, 6, 7})
        QTest::addRow("abc in column %d", c) << c << "abc";
    QTest::newRow("comma") << 5 << "1,5";
    QTest::newRow("empty size") << 2 << "";
    QTest::newRow("decimal colour") << 0 << "255.0";
}

// A cell that does not convert gives the default sizes and positions, leaves the swatch and the
// list alone, and keeps its own text.
void PieceEditingTest::selectionOfBadCells() {
    QFETCH(int, column);
    QFETCH(QString, text);
    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    setRowCells(t.s, 1, {"255", "kvádr", "2", "3", "4", "5", "6", "7", "ANO", "1", "0", "0"});
    t.s.SGDilky.setCell(column, 1, text);
    const Colour swatchBefore = t.s.Shape1;
    const int listBefore = t.s.Tvar.selected;

    t.editor.editing.selectRow(1);
    QCOMPARE(upDownPositions(t.s), (std::array<int, 6>{10, 10, 10, 0, 0, 0}));
    QCOMPARE(t.s.Shape1, swatchBefore);
    QCOMPARE(t.s.Tvar.selected, listBefore);
    QCOMPARE(t.cell(column, 1), text);
}

void PieceEditingTest::selectionClampsButKeepsCell() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.s.SGDilky.setCell(Col::RxColumn, 1, "12.3");
    t.s.SGDilky.setCell(Col::XColumn, 1, "-25");
    t.editor.editing.selectRow(1);
    QCOMPARE(t.s.upDown(UpDownId::UDrx).position, 100);
    QCOMPARE(t.s.upDown(UpDownId::UDx).position, -200);
    QCOMPARE(t.cell(Col::RxColumn, 1), "12.3");
    QCOMPARE(t.cell(Col::XColumn, 1), "-25");
}

void PieceEditingTest::selectionInColourColumnOpensColourDialog() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();

    t.editor.editing.SGDilkyMouseMove(48); // still in the colour column, but past the bound
    t.editor.editing.selectRow(1);
    QCOMPARE(t.dialogs.colourDialogs, 0);

    t.editor.editing.SGDilkyMouseMove(40);
    t.dialogs.colourAnswers << rgb(128, 64, 255);
    t.editor.editing.selectRow(2);
    QCOMPARE(t.dialogs.colourDialogs, 1);
    QCOMPARE(t.cell(Col::ColourColumn, 2), "16728192");
    QCOMPARE(rowCells(t.s, 2).mid(9), QStringList({"0.50", "0.25", "1.00"}));
    QCOMPARE(t.s.Shape1, rgb(128, 64, 255));
    QVERIFY(!t.s.OverColourColumn);

    // Cancelled: nothing written, and the next selection asks no more.
    t.editor.editing.SGDilkyMouseMove(0);
    t.dialogs.colourAnswers << std::nullopt;
    t.editor.editing.selectRow(1);
    QCOMPARE(t.cell(Col::ColourColumn, 1), "16777215");
    t.editor.editing.selectRow(1);
    QCOMPARE(t.dialogs.colourDialogs, 2);
    QVERIFY(t.dialogs.allAnswered());
}

void PieceEditingTest::overColourColumnSurvivesLeavingTheTable() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    t.editor.editing.SGDilkyMouseMove(10); // then the pointer leaves over the left edge
    t.dialogs.colourAnswers << std::nullopt;
    t.editor.editing.selectRow(2); // a selection opens the colour dialog
    QCOMPARE(t.dialogs.colourDialogs, 1);
    t.editor.editing.SGDilkyMouseMove(10);
    t.editor.editing.DelClick(); // deleting the last row loads the new last one without it
    QCOMPARE(t.dialogs.colourDialogs, 1);
    QVERIFY(t.dialogs.allAnswered());
}

void PieceEditingTest::mouseColumnBounds_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<bool>("overColour");
    QTest::addColumn<int>("column"); // -1: unchanged
    const QList<std::tuple<int, bool, int>> rows{
        {0, true, 0},    {45, true, 0},   {46, false, -1}, {47, false, 1},  {168, false, 1},
        {169, false, 2}, {200, false, 2}, {201, false, 3}, {234, false, 3}, {235, false, 4},
        {266, false, 4}, {267, false, 5}, {300, false, 5}, {301, false, 6}, {334, false, 6},
        {335, false, 7}, {366, false, 7}, {367, false, 8}, {447, false, 8}};
    for (const auto& [x, over, column] : rows)
        QTest::addRow("x=%d", x) << x << over << column;
}

void PieceEditingTest::mouseColumnBounds() {
    QFETCH(int, x);
    QFETCH(bool, overColour);
    QFETCH(int, column);
    TestEditor t;
    t.s.MouseColumn = 5;
    t.s.OverColourColumn = !overColour;
    t.editor.editing.SGDilkyMouseMove(x);
    QCOMPARE(t.s.OverColourColumn, overColour);
    QCOMPARE(t.s.MouseColumn, column < 0 ? 5 : column);
}

void PieceEditingTest::upDownWritesTenthsText() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.s.SceneSaved = true;
    QVERIFY(t.editor.editing.pressUpDown(UpDownId::UDrx, +1));
    QCOMPARE(t.cell(Col::RxColumn, 1), "1.1");
    QVERIFY(!t.s.SceneSaved);
    t.editor.editing.pressUpDown(UpDownId::UDrx, +1);
    QCOMPARE(t.cell(Col::RxColumn, 1), "1.2");

    t.s.upDown(UpDownId::UDrx).setPosition(99);
    t.editor.editing.pressUpDown(UpDownId::UDrx, +1);
    QCOMPARE(t.cell(Col::RxColumn, 1), "10.0"); // sizes: two digits are exact up to 10.0
}

void PieceEditingTest::positionArrowsCountInTenths_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("9.9 up") << 99 << +1 << QStringList{"10.0", "10.1", "10.2"};
    QTest::newRow("10.3 up") << 103 << +1 << QStringList{"10.4", "10.5", "10.6"};
    QTest::newRow("-12.2 down") << -122 << -1 << QStringList{"-12.3", "-12.4", "-12.5"};
    QTest::newRow("19.8 up") << 198 << +1 << QStringList{"19.9", "20.0", "20.0"};
    QTest::newRow("0.1 down") << 1 << -1 << QStringList{"0.0", "-0.1", "-0.2"};
}

void PieceEditingTest::positionArrowsCountInTenths() {
    QFETCH(int, from);
    QFETCH(int, direction);
    QFETCH(QStringList, cells);
    TestEditor t;
    t.editor.editing.PridejClick();
    for (auto id : {UpDownId::UDx, UpDownId::UDy, UpDownId::UDz}) {
        const int column = upDownColumn(id);
        t.s.upDown(id).setPosition(from);
        for (const QString& cell : cells) {
            t.editor.editing.pressUpDown(id, direction);
            QCOMPARE(t.cell(column, 1), cell);
        }
    }
}

void PieceEditingTest::upDownAtBoundRunsNothing() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.s.upDown(UpDownId::UDrx).setPosition(1);
    t.s.SceneSaved = true;
    QVERIFY(!t.editor.editing.pressUpDown(UpDownId::UDrx, -1));
    QCOMPARE(t.s.upDown(UpDownId::UDrx).position, 1);
    QCOMPARE(t.cell(Col::RxColumn, 1), "1");
    QVERIFY(t.s.SceneSaved);
    t.s.upDown(UpDownId::UDz).setPosition(200);
    QVERIFY(!t.editor.editing.pressUpDown(UpDownId::UDz, +1));
    QVERIFY(t.s.SceneSaved);
}

void PieceEditingTest::upDownWithEmptyTable() {
    TestEditor t;
    QVERIFY(t.editor.editing.pressUpDown(UpDownId::UDx, +1));
    QCOMPARE(t.s.upDown(UpDownId::UDx).position, 1);
    QVERIFY(t.s.SceneSaved);
    QCOMPARE(t.s.SGDilky.rowCount(), 1);
}

void PieceEditingTest::vyzva_data() {
    QTest::addColumn<int>("axisOrder");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QList<int>>("sizes");
    QTest::addColumn<QString>("cellAfter");
    QTest::addColumn<int>("warning"); // ShapeTexts index, -1 for none
    QTest::newRow("kvádr with equal sizes becomes krychle")
        << 0 << "kvádr" << QList<int>{10, 10, 10} << "krychle" << 0;
    QTest::newRow("krychle with unequal sizes becomes kvádr")
        << 0 << "krychle" << QList<int>{11, 10, 10} << "kvádr" << 4;
    QTest::newRow("krychle equal") << 0 << "krychle" << QList<int>{10, 10, 10} << "krychle" << -1;
    QTest::newRow("válec rx = rz under xyz")
        << 0 << "válec" << QList<int>{10, 20, 10} << "válec" << -1;
    QTest::newRow("válec rx != ry under xzy")
        << 1 << "válec" << QList<int>{10, 20, 10} << "válec" << 1;
    QTest::newRow("válec rx != rz under xyz")
        << 0 << "válec" << QList<int>{10, 10, 20} << "válec" << 1;
    QTest::newRow("kužel under yzx") << 2 << "kužel" << QList<int>{10, 20, 10} << "kužel" << 2;
    QTest::newRow("jehlan") << 0 << "jehlan" << QList<int>{5, 5, 6} << "jehlan" << 3;
    QTest::newRow("koule keeps its name") << 0 << "koule" << QList<int>{5, 5, 6} << "koule" << 5;
    QTest::newRow("koule equal") << 0 << "koule" << QList<int>{7, 7, 7} << "koule" << -1;
    QTest::newRow("hranol never warns")
        << 0 << "trojboký hranol" << QList<int>{1, 2, 3} << "trojboký hranol" << -1;
    QTest::newRow("kvádr unequal") << 0 << "kvádr" << QList<int>{1, 2, 3} << "kvádr" << -1;
    // Sizes above 10.0 are held at 100, so they count as equal.
    QTest::newRow("loaded sizes above the range")
        << 0 << "kvádr" << QList<int>{120, 150, 100} << "krychle" << 0;
}

void PieceEditingTest::vyzva() {
    QFETCH(int, axisOrder);
    QFETCH(QString, shape);
    QFETCH(QList<int>, sizes);
    QFETCH(QString, cellAfter);
    QFETCH(int, warning);
    TestEditor t;
    t.s.AxisOrder = axisOrder;
    t.editor.editing.PridejClick();
    t.s.SGDilky.setCell(Col::ShapeColumn, 1, shape);
    for (int i = 0; i < 3; ++i)
        t.s.SGDilky.setCell(Col::RxColumn + i, 1, QString::number(sizes[i] / 10.0));
    t.editor.editing.selectRow(1); // loads the list and the up-downs, then runs the check
    QCOMPARE(t.cell(Col::ShapeColumn, 1), cellAfter);
    QCOMPARE(t.s.varovani, warning < 0 ? QString() : t.s.texts.ShapeTexts[warning]);
}

void PieceEditingTest::vyzvaKeepsWarningWhileListIsStale() {
    TestEditor t;
    t.editor.editing.PridejClick(); // krychle, 10 10 10
    t.editor.editing.pressUpDown(UpDownId::UDrx, +1);
    QCOMPARE(t.cell(Col::RxColumn, 1), "1.1");
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "kvádr");
    QCOMPARE(t.s.varovani, t.s.texts.ShapeTexts[4]);
    QCOMPARE(t.s.Tvar.selected, 0); // the list still shows krychle
    t.editor.editing.pressUpDown(UpDownId::UDry, +1);
    QCOMPARE(t.s.varovani, t.s.texts.ShapeTexts[4]);
    // Back to equal sizes: the cell says kvádr, so it turns into krychle again.
    t.editor.editing.pressUpDown(UpDownId::UDrz, +1);
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "krychle");
    QCOMPARE(t.s.varovani, t.s.texts.ShapeTexts[0]);
}

void PieceEditingTest::shapeListWritesCell() {
    TestEditor t;
    t.editor.editing.TvarChange(4); // empty table: only the list changes
    QCOMPARE(t.s.Tvar.text, "koule");
    QCOMPARE(t.s.SGDilky.rowCount(), 1);

    t.editor.editing.PridejClick();
    t.s.SceneSaved = true;
    t.editor.editing.TvarChange(1); // kvádr with 1.0 x 1.0 x 1.0 is a cube at once
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "krychle");
    QCOMPARE(t.s.varovani, t.s.texts.ShapeTexts[0]);
    t.editor.editing.TvarChange(6);
    QCOMPARE(t.cell(Col::ShapeColumn, 1), "trojboký hranol");
    QCOMPARE(t.s.varovani, QString());
    QVERIFY(!t.s.SceneSaved);
}

void PieceEditingTest::controlsFlag() {
    TestEditor t;
    t.editor.editing.setCBovl(true); // empty table: only the box
    QVERIFY(t.s.CBovl);
    t.editor.editing.PridejClick();
    t.editor.editing.setCBovl(false);
    QCOMPARE(t.cell(Col::ControlsColumn, 1), "NE");
    t.editor.editing.setCBovl(true);
    QCOMPARE(t.cell(Col::ControlsColumn, 1), "ANO");

    // Selecting a row whose flag is neither text unticks the box, which writes NE back.
    t.s.SGDilky.setCell(Col::ControlsColumn, 1, "ano");
    t.editor.editing.selectRow(1);
    QVERIFY(!t.s.CBovl);
    QCOMPARE(t.cell(Col::ControlsColumn, 1), "NE");
}

void PieceEditingTest::swatches() {
    TestEditor t;
    t.editor.editing.Shape1MouseDown(); // empty table: no dialog
    QCOMPARE(t.dialogs.colourDialogs, 0);
    t.dialogs.colourAnswers << rgb(1, 2, 3);
    t.editor.editing.Shape2MouseDown();
    QCOMPARE(t.s.Shape2, rgb(1, 2, 3));

    t.editor.editing.PridejClick();
    t.dialogs.colourAnswers << rgb(255, 0, 128);
    t.editor.editing.Shape1MouseDown();
    QCOMPARE(t.s.Shape1, rgb(255, 0, 128));
    QCOMPARE(rowCells(t.s, 1).mid(9), QStringList({"1.00", "0.00", "0.50"}));
    QCOMPARE(t.cell(Col::ColourColumn, 1), QString::number(rgb(255, 0, 128)));
    t.dialogs.colourAnswers << std::nullopt;
    t.editor.editing.Shape1MouseDown();
    QCOMPARE(t.s.Shape1, rgb(255, 0, 128));
    QVERIFY(t.dialogs.allAnswered());
}

void PieceEditingTest::everyEditClearsSceneSaved_data() {
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("shape list") << Edit([](TestEditor& t) { t.editor.editing.TvarChange(4); })
                                << true;
    QTest::newRow("check box") << Edit([](TestEditor& t) { t.editor.editing.setCBovl(false); })
                               << true;
    QTest::newRow("piece colour, the same") << Edit([](TestEditor& t) {
        t.dialogs.colourAnswers << White;
        t.editor.editing.Shape1MouseDown();
    }) << true;
    QTest::newRow("background colour") << Edit([](TestEditor& t) {
        t.dialogs.colourAnswers << rgb(2, 2, 2);
        t.editor.editing.Shape2MouseDown();
    }) << true;
    QTest::newRow("hide controls")
        << Edit([](TestEditor& t) { t.editor.editing.CBSkrytClick(true); }) << true;
    QTest::newRow("question mark")
        << Edit([](TestEditor& t) { t.editor.panels.lbBodClick(); }) << true;
    QTest::newRow("wheel") << Edit([](TestEditor& t) {
        t.s.MouseColumn = Col::XColumn;
        t.editor.wheel.SGDilkyMouseWheelUp({});
    }) << true;
    QTest::newRow("select") << Edit([](TestEditor& t) { t.editor.editing.selectRow(1); }) << true;
    QTest::newRow("pointer") << Edit([](TestEditor& t) { t.editor.editing.SGDilkyMouseMove(100); })
                             << false;
    QTest::newRow("colour cancelled") << Edit([](TestEditor& t) {
        t.dialogs.colourAnswers << std::nullopt;
        t.editor.editing.Shape1MouseDown();
    }) << false;
    QTest::newRow("background cancelled") << Edit([](TestEditor& t) {
        t.dialogs.colourAnswers << std::nullopt;
        t.editor.editing.Shape2MouseDown();
    }) << false;
}

void PieceEditingTest::everyEditClearsSceneSaved() {
    QFETCH(Edit, edit);
    QFETCH(bool, unsaved);
    TestEditor t;
    t.editor.editing.PridejClick();
    t.s.SceneSaved = true;
    edit(t);
    QCOMPARE(t.s.SceneSaved, !unsaved);
    QVERIFY(t.dialogs.allAnswered());
}

QTEST_GUILESS_MAIN(PieceEditingTest)
#include "tst_pieceediting.moc"
