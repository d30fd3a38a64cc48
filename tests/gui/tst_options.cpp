#include "WindowFixture.h"

#include "PieceTableView.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

using namespace modulino;

class TestOptions : public QObject {
    Q_OBJECT

private slots:
    void optionControlsStandAtTheirPlaces_data();
    void optionControlsStandAtTheirPlaces();
    void overlappingControlsStackInOrder();
    void volbyCoversTheAreaUntilClicked();
    void cornerPicturesSwitchTheLibrary();
    void questionMarkTakesItsOwnClicks();
    void axisPanelChoosesTheConvention_data();
    void axisPanelChoosesTheConvention();
    void pointingAtATripodPreviewsItsConvention();
    void lettersOnTheTripodTakeNoClicks();
    void wheelEditsTheCurrentRowWithoutScrolling();
    void wheelReachesTheFocusedTableFromAnywhere();
    void wheelOverTheUnfocusedTableDoesNothing();
};

namespace {

void turnWheel(QWidget* widget, QPoint pos, int delta, Qt::KeyboardModifiers modifiers = {}) {
    QWheelEvent wheel(pos, widget->mapToGlobal(pos), {}, {0, delta}, Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

void click(QWidget* widget, QPoint pos = {}) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
}

} // namespace

void TestOptions::optionControlsStandAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    QTest::newRow("Image1") << "Image1" << QRect(496, 352, 90, 90);
    QTest::newRow("Image2") << "Image2" << QRect(496, 352, 90, 90);
    QTest::newRow("Image3") << "Image3" << QRect(592, 360, 80, 80);
    QTest::newRow("lbBod") << "lbBod" << QRect(506, 400, 47, 37);
    QTest::newRow("bezvoleb") << "bezvoleb" << QRect(496, 446, 177, 24);
    QTest::newRow("poloha") << "poloha" << QRect(282, 344, 306, 105);
    QTest::newRow("volby") << "volby" << QRect(496, 344, 177, 126);
    QTest::newRow("ImXYZ") << "ImXYZ" << QRect(17, 11, 80, 80);
    QTest::newRow("ImXZY") << "ImXZY" << QRect(113, 11, 80, 80);
    QTest::newRow("ImYZX") << "ImYZX" << QRect(209, 11, 80, 80);
    QTest::newRow("ShXZY") << "ShXZY" << QRect(112, 10, 85, 85);
}

void TestOptions::optionControlsStandAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    WindowFixture f;
    auto* control = f.window->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), place);

    QCOMPARE(f.child("lbUp")->pos(), QPoint(624, 360));
    QCOMPARE(f.child("lbRight")->pos(), QPoint(656, 396));
    QCOMPARE(f.child("lbFront")->pos(), QPoint(593, 412));
    QCOMPARE(f.child<QLabel>("lbUp")->font().pixelSize(), 16);
    QCOMPARE(f.child<QLabel>("lbBod")->font().pixelSize(), 19);
    QCOMPARE(f.child("Label14")->geometry().topLeft(), QPoint(592, 344));
    QCOMPARE(f.child("Label14")->width(), 81);
}

void TestOptions::overlappingControlsStackInOrder() {
    WindowFixture f;
    const QObjectList stack = f.window->centralWidget()->children(); // bottom to top
    const auto level = [&](const char* name) {
        return stack.indexOf(f.child<QObject>(name));
    };
    QVERIFY(level("SGDilky") < level("PHelp"));
    QVERIFY(level("PHelp") < level("poloha"));
    QVERIFY(level("poloha") < level("bezvoleb"));
    QVERIFY(level("bezvoleb") < level("volby"));
    for (const char* graphic : {"Image1", "Image3", "lbBod", "lbUp", "Shape1", "varovani", "jmeno"})
        QVERIFY2(level(graphic) < level("SGDilky") && level(graphic) < level("Pridej"), graphic);
    QVERIFY(level("Image1") < level("lbBod")); // the question mark lies over the picture
    QVERIFY(level("Image3") < level("lbUp"));
}

void TestOptions::volbyCoversTheAreaUntilClicked() {
    WindowFixture f;
    auto* volby = f.child("volby");
    QVERIFY(volby->isVisible());
    QCOMPARE(volby->findChild<QLabel*>()->text(), QStringLiteral("Volby soustavy souřadnic"));
    QVERIFY(!f.child("poloha")->isVisible());
    QVERIFY(!f.child("lbBod")->isVisible());

    click(volby);
    QVERIFY(!volby->isVisible());
    QVERIFY(f.child("Image1")->isVisible());
    QVERIFY(!f.child("Image2")->isVisible());
    QCOMPARE(f.child<QLabel>("lbUp")->text(), QStringLiteral("y"));
    QCOMPARE(f.child<QPushButton>("bezvoleb")->text(), QStringLiteral("Skrýt pokročilé volby"));
    QCOMPARE(f.child<QLabel>("Label14")->text(), QStringLiteral(" poloha os "));

    click(f.child("bezvoleb"));
    QVERIFY(volby->isVisible());
}

void TestOptions::cornerPicturesSwitchTheLibrary() {
    WindowFixture f;
    click(f.child("volby"));
    QCOMPARE(f.child("Image1")->toolTip(), QStringLiteral("Click"));
    click(f.child("Image1"));
    QVERIFY(f.state().BackCornerMode);
    QVERIFY(!f.state().SceneSaved);
    QVERIFY(!f.child("Image1")->isVisible());
    QVERIFY(f.child("Image2")->isVisible());
    QCOMPARE(f.state().prototyp, f.state().zalohan);

    // A press that is released outside the picture is no click.
    QTest::mousePress(f.child("Image2"), Qt::LeftButton, {}, {10, 10});
    QTest::mouseRelease(f.child("Image2"), Qt::LeftButton, {}, {200, 10});
    QVERIFY(f.state().BackCornerMode);

    click(f.child("Image2"));
    QVERIFY(!f.state().BackCornerMode);
    QVERIFY(f.child("Image1")->isVisible());
    QCOMPARE(f.state().prototyp, f.state().zaloha);
}

void TestOptions::questionMarkTakesItsOwnClicks() {
    WindowFixture f;
    click(f.child("volby"));
    f.state().lbBodVisible = true;
    f.window->refresh();
    auto* questionMark = f.child<QLabel>("lbBod");
    QVERIFY(questionMark->isVisible());
    QCOMPARE(questionMark->text(), QStringLiteral("?"));
    f.state().SceneSaved = true;
    click(questionMark);
    QVERIFY(!questionMark->isVisible());
    QVERIFY(!f.state().BackCornerMode); // the picture beneath saw nothing
    QVERIFY(!f.state().SceneSaved);     // the library in force changed
}

void TestOptions::axisPanelChoosesTheConvention_data() {
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("letters"); // up, right, front
    QTest::newRow("xyz picture") << "ImXYZ" << 0 << "yxz";
    QTest::newRow("xyz front letter") << "Label18" << 0 << "yxz";
    QTest::newRow("xzy picture") << "ImXZY" << 1 << "zxy";
    QTest::newRow("xzy up letter") << "Label19" << 1 << "zxy";
    QTest::newRow("xzy front letter") << "Label15" << 1 << "zxy";
    QTest::newRow("yzx picture") << "ImYZX" << 2 << "zyx";
    QTest::newRow("yzx right letter") << "Label16" << 2 << "zyx";
}

void TestOptions::axisPanelChoosesTheConvention() {
    QFETCH(QString, clicked);
    QFETCH(int, order);
    QFETCH(QString, letters);
    WindowFixture f;
    click(f.child("volby"));
    click(f.child("Image3"));
    auto* panel = f.child("poloha");
    QVERIFY(panel->isVisible());
    QVERIFY(f.child("Image3")->toolTip().isEmpty());
    click(f.child("Image3")); // already open: nothing
    QVERIFY(panel->isVisible());

    f.state().SceneSaved = true;
    click(f.window->findChild<QWidget*>(clicked));
    QCOMPARE(f.state().AxisOrder, order);
    QVERIFY(!panel->isVisible());
    QVERIFY(!f.state().SceneSaved);
    QCOMPARE(f.child("Image3")->toolTip(), QStringLiteral("Click"));
    const QString shown = f.child<QLabel>("lbUp")->text() + f.child<QLabel>("lbRight")->text() +
                          f.child<QLabel>("lbFront")->text();
    QCOMPARE(shown, letters);
    const char* frames[] = {"ShXYZ", "ShXZY", "ShYZX"};
    for (int tag = 0; tag < 3; ++tag)
        QCOMPARE(f.child(frames[tag])->isVisibleTo(panel), tag == order);
}

void TestOptions::pointingAtATripodPreviewsItsConvention() {
    WindowFixture f;
    click(f.child("volby"));
    click(f.child("Image3"));
    movePointer(f.child("ImYZX"), {40, 40});
    QCOMPARE(f.state().AxisOrder, 2);
    QVERIFY(f.child("poloha")->isVisible());
    QVERIFY(f.child("ShYZX")->isVisible());
    QCOMPARE(f.child<QLabel>("lbRight")->text(), QStringLiteral("y"));

    movePointer(f.child("ImXZY"), {40, 40});
    QCOMPARE(f.state().AxisOrder, 1);
    QMouseEvent overLetter(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton,
                           Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.child("Label20"), &overLetter); // a letter of yzx: no preview
    QCOMPARE(f.state().AxisOrder, 1);
}

void TestOptions::lettersOnTheTripodTakeNoClicks() {
    WindowFixture f;
    click(f.child("volby"));
    for (const char* name : {"lbUp", "lbRight", "lbFront"})
        click(f.child(name), {2, 2});
    QVERIFY(!f.state().polohaVisible);
    QVERIFY(!f.child("poloha")->isVisible());
}

void TestOptions::wheelEditsTheCurrentRowWithoutScrolling() {
    WindowFixture f;
    QVERIFY(f.active);
    auto* table = f.child<PieceTableView>("SGDilky");
    for (int i = 0; i < 30; ++i)
        f.addPiece();
    f.window->editor().editing.selectRow(3);
    f.window->refresh();
    table->setFocus();
    table->verticalScrollBar()->setValue(0);

    QWidget* client = table->viewport();
    const QPoint overRow6(280, table->rowViewportPosition(5) + 10);
    movePointer(client, overRow6); // the x column
    QCOMPARE(f.state().MouseColumn, PieceTable::XColumn);
    f.state().SceneSaved = true;
    turnWheel(client, overRow6, 120);
    QCOMPARE(f.cell(PieceTable::XColumn, 3), QStringLiteral("1.0"));
    QCOMPARE(f.cell(PieceTable::XColumn, 6), QStringLiteral("0"));
    turnWheel(client, overRow6, 120, Qt::ShiftModifier);
    QCOMPARE(f.cell(PieceTable::XColumn, 3), QStringLiteral("1.1"));
    turnWheel(client, overRow6, -60); // half a notch: nothing yet
    QCOMPARE(f.cell(PieceTable::XColumn, 3), QStringLiteral("1.1"));
    turnWheel(client, overRow6, -60);
    QCOMPARE(f.cell(PieceTable::XColumn, 3), QStringLiteral("0.1"));
    turnWheel(client, overRow6, -360);
    QCOMPARE(f.cell(PieceTable::XColumn, 3), QStringLiteral("-2.9"));

    QCOMPARE(table->verticalScrollBar()->value(), 0);
    QCOMPARE(f.state().SGDilky.currentRow(), 3);
    QCOMPARE(table->currentIndex().row(), 2);
    QVERIFY(!f.state().SceneSaved); // the wheel wrote cells
}

void TestOptions::wheelReachesTheFocusedTableFromAnywhere() {
    WindowFixture f;
    QVERIFY(f.active);
    auto* table = f.child<PieceTableView>("SGDilky");
    f.addPiece();
    table->setFocus();
    movePointer(table->viewport(), {420, 10}); // the controls flag
    QCOMPARE(f.state().MouseColumn, PieceTable::ControlsColumn);
    turnWheel(f.child("Shape2"), {5, 5}, 120);
    QCOMPARE(f.cell(PieceTable::ControlsColumn, 1), QStringLiteral("NE"));
    turnWheel(f.child("Tvar"), {5, 5}, -120);
    QCOMPARE(f.cell(PieceTable::ControlsColumn, 1), QStringLiteral("ANO"));
    QCOMPARE(f.state().Tvar.selected, 0); // the shape list under the pointer did not turn
}

void TestOptions::wheelOverTheUnfocusedTableDoesNothing() {
    WindowFixture f;
    QVERIFY(f.active);
    auto* table = f.child<PieceTableView>("SGDilky");
    for (int i = 0; i < 30; ++i)
        f.addPiece();
    f.child("Pridej")->setFocus();
    table->verticalScrollBar()->setValue(0);
    movePointer(table->viewport(), {280, 10});
    turnWheel(table->viewport(), {280, 10}, -240);
    turnWheel(table->verticalScrollBar(), {5, 50}, -240);
    QCOMPARE(f.cell(PieceTable::XColumn, 30), QStringLiteral("0"));
    QCOMPARE(table->verticalScrollBar()->value(), 0);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
