#include "WindowFixture.h"

#include "PieceTableView.h"
#include "ShapeCombo.h"
#include "UpDownArrows.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolButton>

using namespace modulino;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void windowHasItsFixedClientArea();
    void controlsStandAtTheirPlaces_data();
    void controlsStandAtTheirPlaces();
    void tableHasItsColumnsAndHeader();
    void tableGrowsByItsScrollBar();
    void shortCutsActWhereverTheFocusIs_data();
    void shortCutsActWhereverTheFocusIs();
    void sceneMenuHasNoShortCut();
    void editMenuGreysWhatCannotBeDone();
    void helpPanelShowsAndHides();
    void colourCellOpensTheDialogLeftOf46();
    void clickOnTheCurrentRowSelectsItAgain();
    void headerRowIsSelectableOnlyWhileEmpty();
    void keysMoveTheSelection();
    void selectionFollowsTheCore();
    void upDownArrowWritesTheCell();
    void heldArrowRepeatsItsStep();
    void typedCharactersLeaveTheShapeList_data();
    void typedCharactersLeaveTheShapeList();
    void shapeListShowsItsTextWithoutSelection();
    void swatchesOpenTheColourDialog();
    void labelsSizeThemselvesToTheirText();
    void warningShowsItsLineBreaks();
    void closingPassesTheCloseQuery();
    void modelKeepsItsContractThroughEdits();
    void largeBatchArrivesAsOneReset();
};

void TestMainWindow::windowHasItsFixedClientArea() {
    WindowFixture f;
    QCOMPARE(f.window->centralWidget()->size(), QSize(682, 505));
    QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
    QCOMPARE(f.window->height(), f.window->menuBar()->height() + 505);
    QVERIFY(!f.window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(f.window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Modulino"));
    QCOMPARE(f.window->font().pixelSize(), 13);
    QVERIFY(!f.window->windowIcon().pixmap(32).isNull()); // the svg icon engine is there
}

void TestMainWindow::controlsStandAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("SGDilky") << "SGDilky" << QRect(16, 88, 452, 401);
    QTest::newRow("Shape1") << "Shape1" << QRect(18, 64, 49, 24);
    QTest::newRow("Shape2") << "Shape2" << QRect(536, 88, 49, 25);
    QTest::newRow("Tvar") << "Tvar" << QRect(72, 64, 113, 21);
    QTest::newRow("UDrx") << "UDrx" << QRect(192, 64, 25, 25);
    QTest::newRow("UDz") << "UDz" << QRect(356, 64, 25, 25);
    QTest::newRow("CBovl") << "CBovl" << QRect(384, 64, 81, 25);
    QTest::newRow("CBSkryt") << "CBSkryt" << QRect(512, 184, 129, 17);
    QTest::newRow("varovani") << "varovani" << QRect(490, 120, 191, 49);
    QTest::newRow("Pridej") << "Pridej" << QRect(496, 216, 177, 25);
    QTest::newRow("Del") << "Del" << QRect(496, 256, 177, 25);
    QTest::newRow("Nahled") << "Nahled" << QRect(496, 296, 177, 41);
    QTest::newRow("PHelp") << "PHelp" << QRect(18, 296, 449, 193);
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(416, 8, 25, 25);
}

void TestMainWindow::controlsStandAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    WindowFixture f;
    const auto* control = f.window->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), place);
}

void TestMainWindow::tableHasItsColumnsAndHeader() {
    WindowFixture f;
    auto* table = f.child<PieceTableView>("SGDilky");
    const QStringList headers{
        QStringLiteral("barva"), QStringLiteral("tvar"), QStringLiteral("rx"),
        QStringLiteral("ry"),    QStringLiteral("rz"),   QStringLiteral("x"),
        QStringLiteral("y"),     QStringLiteral("z"),    QStringLiteral("ANO / NE")};
    for (int c = 0; c < headers.size(); ++c)
        QCOMPARE(table->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
    const int widths[] = {51, 118, 33, 33, 33, 33, 33, 33, 80};
    for (int c = 0; c < 9; ++c) {
        QCOMPARE(table->columnWidth(c), widths[c]);
        QVERIFY(!table->isColumnHidden(c));
    }
    for (int c = 9; c < 12; ++c)
        QVERIFY(table->isColumnHidden(c));
    QCOMPARE(table->viewport()->width(), 448);
    QCOMPARE(table->horizontalHeader()->height(), 20);
    QCOMPARE(table->model()->rowCount(), 0);
    f.addPiece();
    QCOMPARE(table->rowHeight(0), 21);
    QVERIFY(table->editTriggers() == QAbstractItemView::NoEditTriggers);
}

void TestMainWindow::tableGrowsByItsScrollBar() {
    WindowFixture f;
    auto* table = f.child<PieceTableView>("SGDilky");
    for (int i = 0; i < 17; ++i)
        f.addPiece();
    QCOMPARE(table->width(), 452);
    f.addPiece();
    QVERIFY(table->verticalScrollBar()->isVisible());
    QCOMPARE(table->width(), 452 + table->verticalScrollBar()->width());
    QCOMPARE(table->viewport()->width(), 448);
    f.window->editor().editing.DelClick();
    QCOMPARE(table->width(), 452);
}

void TestMainWindow::shortCutsActWhereverTheFocusIs_data() {
    QTest::addColumn<QString>("focus");
    QTest::newRow("table") << "SGDilky";
    QTest::newRow("shape list") << "Tvar";
    QTest::newRow("up-down") << "UDx";
    QTest::newRow("check box") << "CBovl";
    QTest::newRow("button") << "Pridej";
}

void TestMainWindow::shortCutsActWhereverTheFocusIs() {
    QFETCH(QString, focus);
    WindowFixture f;
    QVERIFY(f.active);
    auto* target = f.window->findChild<QWidget*>(focus);
    target->setFocus();
    QVERIFY(target->hasFocus());
    const PieceTable& table = f.state().SGDilky;

    QTest::keyClick(target, Qt::Key_Insert);
    QTest::keyClick(target, Qt::Key_Insert);
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.currentRow(), 2);

    QTest::keyClick(target, Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(table.rowCount(), 2);
    QTest::keyClick(target, Qt::Key_Delete); // without Shift: nothing
    QCOMPARE(table.rowCount(), 2);

    // Undo and both redo keys.
    const std::pair<QKeyCombination, int> history[] = {{Qt::CTRL | Qt::Key_Z, 3},
                                                       {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, 2},
                                                       {Qt::CTRL | Qt::Key_Z, 3},
                                                       {Qt::CTRL | Qt::Key_Y, 2}};
    for (const auto& [keys, rows] : history) {
        QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
        QCOMPARE(table.rowCount(), rows);
    }

    QTest::keyClick(target, Qt::Key_F1);
    QVERIFY(f.state().PHelpVisible);
    QVERIFY(f.child("PHelp")->isVisible());

    // The scene commands: their items fire, whatever the focused control would do with the key.
    // A saved scene keeps the commands from asking anything but the open dialog's file.
    f.state().SceneSaved = true;
    f.dialogs.openAnswers.enqueue(std::nullopt);
    const std::pair<const char*, QKeyCombination> commands[] = {
        {"Preview1", Qt::Key_F3},         {"Zobrazituloenou1", Qt::Key_F4},
        {"Nov1", Qt::CTRL | Qt::Key_N},   {"Nast1", Qt::CTRL | Qt::Key_O},
        {"Uloit1", Qt::CTRL | Qt::Key_S},
    };
    for (const auto& [name, keys] : commands) {
        QSignalSpy fired(f.child<QAction>(name), &QAction::triggered);
        QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
        QCOMPARE(fired.size(), 1);
    }
}

void TestMainWindow::sceneMenuHasNoShortCut() {
    WindowFixture f;
    auto* scene = f.child<QMenu>("Scna1");
    QVERIFY(scene);
    QCOMPARE(scene->title(), QStringLiteral("Scéna"));
    QVERIFY(scene->menuAction()->shortcut().isEmpty());
    const QList<QAction*> items = scene->actions();
    QStringList captions;
    for (const QAction* item : items)
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    QCOMPARE(captions, QStringList({QStringLiteral("Nová"), QStringLiteral("Načíst"),
                                    QStringLiteral("Připojit…"), QStringLiteral("Uložit"),
                                    QStringLiteral("Uložit jako..."), QStringLiteral("Exportovat…"),
                                    QStringLiteral("-"), QStringLiteral("Konec")}));
    QCOMPARE(f.child<QAction>("Konec1")->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F4));
    auto* help = f.child<QAction>("Npovda1");
    QVERIFY(f.window->menuBar()->actions().contains(help));
    QVERIFY(!help->menu());
}

void TestMainWindow::editMenuGreysWhatCannotBeDone() {
    WindowFixture f;
    const QList<QAction*> menus = f.window->menuBar()->actions();
    auto* edit = f.child<QMenu>("Upravy1");
    QCOMPARE(menus.indexOf(edit->menuAction()),
             menus.indexOf(f.child<QMenu>("Scna1")->menuAction()) + 1);
    QCOMPARE(edit->title(), QStringLiteral("Úpravy"));
    auto* undo = f.child<QAction>("Zpet1");
    auto* redo = f.child<QAction>("Znovu1");
    QCOMPARE(edit->actions().first(2), (QList<QAction*>{undo, redo}));
    QCOMPARE(undo->text(), QStringLiteral("Zpět"));
    QCOMPARE(redo->text(), QStringLiteral("Znovu"));
    QCOMPARE(redo->shortcuts(),
             (QList<QKeySequence>{Qt::CTRL | Qt::SHIFT | Qt::Key_Z, Qt::CTRL | Qt::Key_Y}));

    const auto enabled = [&] {
        return std::pair{undo->isEnabled(), redo->isEnabled()};
    };
    QCOMPARE(enabled(), std::pair(false, false));
    f.addPiece();
    QCOMPARE(enabled(), std::pair(true, false));
    undo->trigger();
    QCOMPARE(enabled(), std::pair(false, true));
    QCOMPARE(f.state().SGDilky.rowCount(), 1);
    redo->trigger();
    QCOMPARE(enabled(), std::pair(true, false));
}

void TestMainWindow::helpPanelShowsAndHides() {
    WindowFixture f;
    QVERIFY(f.active);
    auto* help = f.child("PHelp");
    QVERIFY(!help->isVisible());
    QTest::keyClick(f.window.get(), Qt::Key_F1);
    QVERIFY(help->isVisible());
    QTest::keyClick(f.window.get(), Qt::Key_F1); // shows it also when shown
    QVERIFY(help->isVisible());
    QVERIFY(!f.child("Label12")->isVisible());
    QTest::mouseClick(f.child("BitBtn1"), Qt::LeftButton);
    QVERIFY(!help->isVisible());
    QVERIFY(!f.state().PHelpVisible);
}

void TestMainWindow::colourCellOpensTheDialogLeftOf46() {
    WindowFixture f;
    auto* table = f.child<PieceTableView>("SGDilky");
    f.addPiece();
    f.addPiece();
    QWidget* client = table->viewport();
    const int y = table->rowViewportPosition(0) + 10;

    movePointer(client, {48, y});
    QTest::mouseClick(client, Qt::LeftButton, {}, {48, y});
    QCOMPARE(f.state().SGDilky.currentRow(), 1);
    QCOMPARE(f.dialogs.colourDialogs, 0);

    f.dialogs.colourAnswers.enqueue(rgb(255, 0, 0));
    movePointer(client, {40, y});
    QTest::mouseClick(client, Qt::LeftButton, {}, {40, y});
    QCOMPARE(f.dialogs.colourDialogs, 1);
    QCOMPARE(f.cell(PieceTable::ColourColumn, 1), QStringLiteral("255"));
    QCOMPARE(f.cell(PieceTable::RedColumn, 1), QStringLiteral("1.00"));
    QCOMPARE(f.cell(PieceTable::GreenColumn, 1), QStringLiteral("0.00"));
    QVERIFY(f.dialogs.allAnswered());
}

void TestMainWindow::clickOnTheCurrentRowSelectsItAgain() {
    WindowFixture f;
    auto* table = f.child<PieceTableView>("SGDilky");
    f.addPiece();
    f.state().SceneSaved = true;
    QWidget* client = table->viewport();
    const QPoint onRow(200, table->rowViewportPosition(0) + 10);
    movePointer(client, onRow);
    QTest::mouseClick(client, Qt::LeftButton, {}, onRow);
    QVERIFY(!f.state().SceneSaved);

    f.state().SceneSaved = true;
    QTest::mouseClick(client, Qt::RightButton, {}, onRow);
    QVERIFY(f.state().SceneSaved); // only the left button selects
    const QPoint belowTheRows(200, table->rowViewportPosition(0) + 100);
    QTest::mouseClick(client, Qt::LeftButton, {}, belowTheRows);
    QVERIFY(f.state().SceneSaved);
}

void TestMainWindow::headerRowIsSelectableOnlyWhileEmpty() {
    WindowFixture f;
    auto* header = f.child<PieceTableView>("SGDilky")->horizontalHeader()->viewport();
    QTest::mouseClick(header, Qt::LeftButton, {}, {100, 10});
    QVERIFY(!f.state().SceneSaved);
    QCOMPARE(f.state().upDown(UpDownId::UDrx).position, 1); // row 0 sets the sizes to 0

    f.addPiece();
    f.state().SceneSaved = true;
    QTest::mouseClick(header, Qt::LeftButton, {}, {100, 10});
    QVERIFY(f.state().SceneSaved);
    QCOMPARE(f.state().SGDilky.currentRow(), 1);

    movePointer(header, {300, 10}); // the pointer is tracked over the header row too
    QCOMPARE(f.state().MouseColumn, 5);
}

void TestMainWindow::keysMoveTheSelection() {
    WindowFixture f;
    QVERIFY(f.active);
    auto* table = f.child<PieceTableView>("SGDilky");
    for (int i = 0; i < 30; ++i)
        f.addPiece();
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Home);
    QCOMPARE(f.state().CurrentRow, 1);
    QTest::keyClick(table, Qt::Key_Up);
    QCOMPARE(f.state().CurrentRow, 1);
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(f.state().CurrentRow, 2);
    QTest::keyClick(table, Qt::Key_PageDown);
    QVERIFY(f.state().CurrentRow > 10);
    QTest::keyClick(table, Qt::Key_End);
    QCOMPARE(f.state().CurrentRow, 30);
    QCOMPARE(table->currentIndex().row(), 29);
    QVERIFY(table->visualRect(table->currentIndex()).bottom() < table->viewport()->height());

    f.state().SceneSaved = true;
    QTest::keyClick(table, Qt::Key_Down); // already the last row: no selection
    QVERIFY(f.state().SceneSaved);
    QTest::keyClicks(table, QStringLiteral("ab1")); // typing opens no cell editor
    QCOMPARE(f.state().CurrentRow, 30);
    QCOMPARE(f.cell(PieceTable::ShapeColumn, 30), QStringLiteral("krychle"));
    QVERIFY(!table->isTyping());
}

void TestMainWindow::selectionFollowsTheCore() {
    WindowFixture f;
    auto* table = f.child<PieceTableView>("SGDilky");
    PieceEditing& editing = f.window->editor().editing;
    QVERIFY(!table->currentIndex().isValid());
    for (int i = 0; i < 3; ++i)
        editing.PridejClick();
    QCOMPARE(table->currentIndex().row(), 2);
    QVERIFY(table->selectionModel()->isRowSelected(2));

    editing.selectRow(2); // B of A, B, C
    editing.DelClick();
    QCOMPARE(table->currentIndex().row(), 1);
    QVERIFY(table->selectionModel()->isRowSelected(1));
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);

    editing.DelClick();
    editing.DelClick();
    QVERIFY(!table->currentIndex().isValid());
    QVERIFY(!table->selectionModel()->hasSelection());
}

void TestMainWindow::upDownArrowWritesTheCell() {
    WindowFixture f;
    f.addPiece();
    auto* arrows = f.child<UpDownArrows>("UDrx");
    QTest::mouseClick(arrows->upArrow(), Qt::LeftButton);
    QCOMPARE(f.cell(PieceTable::RxColumn, 1), QStringLiteral("1.1"));
    QCOMPARE(f.cell(PieceTable::ShapeColumn, 1), QStringLiteral("kvádr"));
    QCOMPARE(f.child<QLabel>("varovani")->text(),
             QStringLiteral("Vlivem změny rozměrů \nje tvar dílku kvádr."));

    auto* position = f.child<UpDownArrows>("UDz");
    QTest::mouseClick(position->downArrow(), Qt::LeftButton);
    QCOMPARE(f.cell(PieceTable::ZColumn, 1), QStringLiteral("-0.1"));
    position->setFocus();
    QTest::keyClick(position, Qt::Key_Up);
    QTest::keyClick(position, Qt::Key_Up);
    QCOMPARE(f.cell(PieceTable::ZColumn, 1), QStringLiteral("0.1"));
}

void TestMainWindow::heldArrowRepeatsItsStep() {
    WindowFixture f;
    f.addPiece();
    QToolButton* up = f.child<UpDownArrows>("UDy")->upArrow();
    QTest::mousePress(up, Qt::LeftButton);
    QCOMPARE(f.cell(PieceTable::YColumn, 1), QStringLiteral("0.1")); // a step at the press
    QTRY_VERIFY(f.cell(PieceTable::YColumn, 1).toDouble() >= 0.3);   // and more while held
    QTest::mouseRelease(up, Qt::LeftButton);
    const QString released = f.cell(PieceTable::YColumn, 1);
    QTest::qWait(up->autoRepeatInterval() * 3);
    QCOMPARE(f.cell(PieceTable::YColumn, 1), released);
}

void TestMainWindow::typedCharactersLeaveTheShapeList_data() {
    QTest::addColumn<bool>("listOpen");
    QTest::newRow("list closed") << false;
    QTest::newRow("list open") << true;
}

void TestMainWindow::typedCharactersLeaveTheShapeList() {
    QFETCH(bool, listOpen);
    WindowFixture f;
    QVERIFY(f.active);
    f.addPiece();
    auto* shapes = f.child<ShapeCombo>("Tvar");
    shapes->setFocus();
    if (listOpen) {
        shapes->showPopup();
        QTRY_VERIFY(shapes->view()->isVisible());
        QTest::keyClicks(shapes->view(), QStringLiteral("kvjt "));
        QTest::keyClick(shapes->view(), Qt::Key_Return); // chooses the item marked before typing
        QVERIFY(!shapes->view()->isVisible());
    } else {
        QTest::keyClicks(shapes, QStringLiteral("kvjt "));
    }
    QCOMPARE(f.state().Tvar.selected, 0);
    QCOMPARE(shapes->currentIndex(), 0);
    QCOMPARE(f.cell(PieceTable::ShapeColumn, 1), QStringLiteral("krychle"));

    QTest::keyClick(shapes, Qt::Key_Down); // choosing with the arrow keys still works
    QCOMPARE(f.state().Tvar.selected, 1);
    QCOMPARE(f.cell(PieceTable::ShapeColumn, 1), QStringLiteral("krychle")); // kvádr of equal sizes
    QCOMPARE(f.child<QLabel>("varovani")->text(),
             QStringLiteral("Vlivem změny rozměrů \nje tvar dílku krychle."));
}

void TestMainWindow::shapeListShowsItsTextWithoutSelection() {
    WindowFixture f;
    auto* shapes = f.child<ShapeCombo>("Tvar");
    QCOMPARE(f.state().Tvar.selected, -1);
    QCOMPARE(shapes->currentIndex(), -1);
    QCOMPARE(shapes->shownText(), QStringLiteral("krychle"));
    QCOMPARE(shapes->count(), 7);
    QCOMPARE(shapes->itemText(6), QStringLiteral("trojboký hranol"));

    // A selection the program makes runs no handler: the cell keeps its text.
    f.addPiece();
    f.state().SGDilky.setCell(PieceTable::ShapeColumn, 1, QStringLiteral("koule"));
    f.window->editor().editing.selectRow(1);
    f.window->refresh();
    QCOMPARE(shapes->currentIndex(), 4);
    QCOMPARE(f.cell(PieceTable::ShapeColumn, 1), QStringLiteral("koule"));
}

void TestMainWindow::swatchesOpenTheColourDialog() {
    WindowFixture f;
    QTest::mouseClick(f.child("Shape1"), Qt::LeftButton); // no piece: no dialog
    QCOMPARE(f.dialogs.colourDialogs, 0);
    f.dialogs.colourAnswers.enqueue(rgb(1, 2, 3));
    QTest::mouseClick(f.child("Shape2"), Qt::RightButton); // any button
    QCOMPARE(f.state().Shape2, rgb(1, 2, 3));

    f.addPiece();
    f.dialogs.colourAnswers.enqueue(rgb(0, 0, 255));
    QTest::mouseClick(f.child("Shape1"), Qt::MiddleButton);
    QCOMPARE(f.cell(PieceTable::ColourColumn, 1), QStringLiteral("16711680"));
    QVERIFY(f.dialogs.allAnswered());
}

void TestMainWindow::labelsSizeThemselvesToTheirText() {
    WindowFixture f;
    auto* name = f.child<QLabel>("jmeno");
    QCOMPARE(name->text(), QStringLiteral("Beze jména"));
    QCOMPARE(name->pos(), QPoint(144, 8));
    const int width = name->width();
    f.state().jmeno = QStringLiteral("/a/rather/long/folder/name/with/a/scene/file.wrl");
    f.window->refresh();
    QCOMPARE(name->pos(), QPoint(144, 8));
    QVERIFY(name->width() > width);
    QCOMPARE(name->size(), name->sizeHint());
    QCOMPARE(f.child<QLabel>("Label7")->size(), f.child<QLabel>("Label7")->sizeHint());
}

void TestMainWindow::warningShowsItsLineBreaks() {
    WindowFixture f;
    f.state().varovani = QStringLiteral("one \r\ntwo \r\nthree");
    f.window->refresh();
    auto* warning = f.child<QLabel>("varovani");
    QCOMPARE(warning->text(), QStringLiteral("one \ntwo \nthree"));
    QCOMPARE(warning->size(), QSize(191, 49));
    QVERIFY(!warning->wordWrap());
}

void TestMainWindow::closingPassesTheCloseQuery() {
    WindowFixture f;
    const QString quit = QStringLiteral("confirm:  Ukončit program ?");
    f.dialogs.confirmAnswers.enqueue(false);
    f.child<QAction>("Konec1")->trigger();
    if (f.dialogs.log.contains(quit)) {
        QVERIFY(f.window->isVisible()); // refused
        f.dialogs.confirmAnswers.enqueue(true);
    } else {
        f.dialogs.confirmAnswers.clear(); // a close query that asks nothing lets the window go
    }
    f.window->close();
    QVERIFY(!f.window->isVisible());
}

void TestMainWindow::modelKeepsItsContractThroughEdits() {
    WindowFixture f;
    auto* table = f.child<PieceTableView>("SGDilky");
    QAbstractItemModelTester tester(table->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    PieceEditing& editing = f.window->editor().editing;
    PieceTable& pieces = f.state().SGDilky;
    for (int i = 0; i < 4; ++i)
        editing.PridejClick();
    editing.selectRow(2);
    editing.DelClick();
    editing.pressUpDown(UpDownId::UDx, 1);
    QCOMPARE(table->model()->rowCount(), 3);
    UndoRedo& history = f.window->editor().undoRedo;
    history.ZpetClick();
    history.ZpetClick(); // the deleted row comes back in its place
    QCOMPARE(table->model()->rowCount(), 4);
    history.ZnovuClick();
    history.ZnovuClick();
    QCOMPARE(table->model()->index(1, PieceTable::XColumn).data().toString(),
             QStringLiteral("0.1"));
    {
        const PieceTable::Batch batch(pieces);
        pieces.removePieces();
        for (int i = 0; i < 5; ++i)
            pieces.appendRow(pieces.row(0));
    }
    QCOMPARE(table->model()->rowCount(), 5);
    pieces.removePieces();
    QCOMPARE(table->model()->rowCount(), 0);
}

void TestMainWindow::largeBatchArrivesAsOneReset() {
    WindowFixture f;
    auto* table = f.child<PieceTableView>("SGDilky");
    PieceTable& pieces = f.state().SGDilky;
    QSignalSpy resets(table->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(table->model(), &QAbstractItemModel::rowsInserted);
    PieceRow row;
    row[PieceTable::ColourColumn] = QStringLiteral("255");
    {
        const PieceTable::Batch batch(pieces);
        pieces.reserve(100001);
        for (int i = 0; i < 100000; ++i)
            pieces.appendRow(row);
        pieces.setHeaderFixed(true);
        pieces.setWholeRowSelect(true);
        pieces.setCurrentRow(100000);
    }
    QCOMPARE(resets.size(), 1);
    QCOMPARE(inserts.size(), 0);
    QCOMPARE(table->model()->rowCount(), 100000);
    QCOMPARE(table->currentIndex().row(), 99999);
    QVERIFY(table->verticalScrollBar()->isVisible());
    QCOMPARE(table->viewport()->width(), 448);
    QVERIFY(!table->grab().isNull()); // paints the last rows
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
