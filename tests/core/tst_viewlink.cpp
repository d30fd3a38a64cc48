#include "TestEditor.h"
#include "base/SceneFile.h"
#include "scene/Numbers.h"
#include "vrml/SceneWriter.h"

#include <QFile>
#include <QTest>
#include <functional>

using namespace modulino;
using link::Message;

Q_DECLARE_METATYPE(link::Message)

namespace {

QByteArray fileText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The "poloha" triple of the scene's piece line number `piece`.
QByteArray filePosition(EditorState& s, int piece) {
    ComposeScene(s);
    const QByteArrayList lines = s.Final.split('\n');
    const QByteArray line = lines[lines.size() - 1 - (s.SGDilky.rowCount() - piece)];
    const qsizetype from = line.indexOf("poloha ") + 7;
    return line.mid(from, line.indexOf(" tvar") - from);
}

void addPiece(TestEditor& t, const QStringList& position) {
    t.editor.editing.PridejClick();
    for (int i = 0; i < 3; ++i)
        QVERIFY(t.editor.editing.SGDilkySetEditText(PieceTable::XColumn + i, t.s.CurrentRow,
                                                    position[i]));
}

// What the controls show, as text to compare.
QStringList shown(const EditorState& s) {
    const ControlsShown c = controlsShown(s);
    QStringList cells{QString::number(c.tableRow),
                      QString::number(c.CurrentRow),
                      QString::number(c.shapeSelected),
                      c.shapeText,
                      QString::number(c.CBovl),
                      QString::number(c.Shape1),
                      c.varovani};
    for (int p : c.positions)
        cells << QString::number(p);
    return cells;
}

} // namespace

// The exchange between the editor and the view that shows its preview, without either window.
class TestViewLink : public QObject {
    Q_OBJECT

private slots:
    void messages_data();
    void messages();
    void drag_data();
    void drag();
    void pick_data();
    void pick();
    void selectionSentOnce();
    void following_data();
    void following();
    void writePause_data();
    void writePause();
};

// Each message reads back as written; anything else is no message.
void TestViewLink::messages_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Message>("message");

    QTest::newRow("selection") << QByteArray(R"({"kind":"selection","pieces":[2,5],"current":5})")
                               << Message(link::Selection{{2, 5}, 5});
    QTest::newRow("nothing selected")
        << QByteArray(R"({"kind":"selection","pieces":[],"current":0})")
        << Message(link::Selection{{}, 0});
    QTest::newRow("frame") << QByteArray(R"({"kind":"frame"})") << Message(link::Frame{});
    QTest::newRow("pick") << QByteArray(R"({"kind":"pick","piece":3,"ctrl":false})")
                          << Message(link::Pick{3, false});
    QTest::newRow("pick with Ctrl")
        << QByteArray(R"({"kind":"pick","piece":1,"ctrl":true})") << Message(link::Pick{1, true});
    QTest::newRow("drag") << QByteArray(R"({"kind":"drag","move":[0.5,-1.25,0],"piece":7})")
                          << Message(link::Drag{7, {0.5, -1.25, 0}});
    QTest::newRow("piece 0") << QByteArray(R"({"kind":"pick","piece":0,"ctrl":false})")
                             << Message();
    QTest::newRow("piece not whole") << QByteArray(R"({"kind":"pick","piece":1.5})") << Message();
    QTest::newRow("piece as text") << QByteArray(R"({"kind":"pick","piece":"1"})") << Message();
    QTest::newRow("two moves") << QByteArray(R"({"kind":"drag","piece":1,"move":[1,2]})")
                               << Message();
    QTest::newRow("move as text") << QByteArray(R"({"kind":"drag","piece":1,"move":[1,"2",3]})")
                                  << Message();
    QTest::newRow("unknown kind") << QByteArray(R"({"kind":"explode","piece":1})") << Message();
    QTest::newRow("not JSON") << QByteArray("pick 1") << Message();
    QTest::newRow("empty") << QByteArray() << Message();
}

void TestViewLink::messages() {
    QFETCH(QByteArray, line);
    QFETCH(Message, message);

    QCOMPARE(link::decode(line), message);
    if (!std::holds_alternative<std::monostate>(message))
        QCOMPARE(link::decode(link::encode(message)), message);
}

// A drag adds its move, rounded to tenths, to the position cells in the convention in force and
// within -20.0 ... 20.0, as one undo step; the file shows the piece moved by the same amount.
void TestViewLink::drag_data() {
    QTest::addColumn<int>("axisOrder");
    QTest::addColumn<QStringList>("cells");  // x y z as typed in the convention
    QTest::addColumn<QList<double>>("move"); // in the file's axes
    QTest::addColumn<QStringList>("movedCells");
    QTest::addColumn<QByteArray>("movedInFile");

    QTest::newRow("xyz") << 0 << QStringList{"1", "2", "3"} << QList<double>{0.5, -1, 2.25}
                         << QStringList{"1.5", "1.0", "5.3"} << QByteArray("1.5 1.0 5.3");
    QTest::newRow("rounded to tenths")
        << 0 << QStringList{"0", "0", "0"} << QList<double>{0.04, 0.05, -0.149}
        << QStringList{"0.0", "0.1", "-0.1"} << QByteArray("0.0 0.1 -0.1");
    QTest::newRow("held within the range")
        << 0 << QStringList{"19.5", "-19.9", "0"} << QList<double>{1, -5, 30}
        << QStringList{"20.0", "-20.0", "20.0"} << QByteArray("20.0 -20.0 20.0");
    QTest::newRow("xzy") << 1 << QStringList{"1", "2", "3"} << QList<double>{0, 0, 1}
                         << QStringList{"1.0", "3.0", "3.0"} << QByteArray("1.0 3.0 3.0");
    QTest::newRow("yzx") << 2 << QStringList{"1", "2", "3"} << QList<double>{1, 0, 0}
                         << QStringList{"1.0", "3.0", "3.0"} << QByteArray("3.0 3.0 1.0");
}

void TestViewLink::drag() {
    QFETCH(int, axisOrder);
    QFETCH(QStringList, cells);
    QFETCH(QList<double>, move);
    QFETCH(QStringList, movedCells);
    QFETCH(QByteArray, movedInFile);

    TestEditor t;
    t.editor.panels.ImXYZClick(axisOrder);
    addPiece(t, cells);
    addPiece(t, {"0", "0", "0"});
    t.s.markSaved();
    const QByteArray before = filePosition(t.s, 1);
    const int steps = t.s.history.stepCount();

    const Message taken =
        t.editor.link.take(link::encode(link::Drag{1, {move[0], move[1], move[2]}}));
    QVERIFY(std::holds_alternative<link::Drag>(taken));
    QCOMPARE(t.s.CurrentRow, 1);
    QCOMPARE(t.s.SGDilky.currentRow(), 1);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(t.cell(PieceTable::XColumn + i, 1), movedCells[i]);
    QCOMPARE(filePosition(t.s, 1), movedInFile);
    QVERIFY(!t.s.SceneSaved);
    QCOMPARE(t.s.history.stepCount(), steps + 1);

    t.editor.undoRedo.ZpetClick();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(t.cell(PieceTable::XColumn + i, 1), TenthsText(int(cells[i].toDouble() * 10), 3));
    QCOMPARE(filePosition(t.s, 1), before);
}

// A click on a piece in the view selects its row exactly as a click on the row does, and with
// Ctrl as a Ctrl+click on the row does.
void TestViewLink::pick_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<std::function<void(Editor&)>>("rowClick");
    QTest::addColumn<QList<int>>("selected");

    using Click = std::function<void(Editor&)>;
    QTest::newRow("first") << link::encode(link::Pick{1, false})
                           << Click([](Editor& e) { e.editing.selectRow(1); }) << QList<int>{1};
    QTest::newRow("with Ctrl") << link::encode(link::Pick{1, true})
                               << Click([](Editor& e) { e.selection.SGDilkyToggleRow(1); })
                               << QList<int>{1, 3};
    QTest::newRow("no such piece")
        << link::encode(link::Pick{9, false}) << Click([](Editor&) {}) << QList<int>{3};
    QTest::newRow("not a pick") << link::encode(link::Frame{}) << Click([](Editor&) {})
                                << QList<int>{3};
}

void TestViewLink::pick() {
    QFETCH(QByteArray, line);
    QFETCH(std::function<void(Editor&)>, rowClick);
    QFETCH(QList<int>, selected);

    TestEditor viewed, clicked;
    for (TestEditor* t : {&viewed, &clicked}) {
        addPiece(*t, {"1", "2", "3"});
        t->editor.editing.TvarChange(4);
        addPiece(*t, {"-4", "5.5", "0"});
        addPiece(*t, {"0", "0", "0"});
        t->editor.link.selectionToSend();
    }
    viewed.editor.editing.SGDilkyMouseMove(20); // the pointer was last over the colour column
    viewed.editor.link.take(line);
    rowClick(clicked.editor);
    QCOMPARE(shown(viewed.s), shown(clicked.s));
    QCOMPARE(viewed.dialogs.colourDialogs, 0);
    const link::Selection expected{selected, clicked.s.SGDilky.currentRow()};
    QCOMPARE(viewed.editor.link.selectionToSend(true), link::encode(expected));
}

// The view hears of each new selection once; a view that connects hears of it at once.
void TestViewLink::selectionSentOnce() {
    TestEditor t;
    QCOMPARE(t.editor.link.selectionToSend(), link::encode(link::Selection{{}, 0}));
    QVERIFY(t.editor.link.selectionToSend().isEmpty());
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    QCOMPARE(t.editor.link.selectionToSend(), link::encode(link::Selection{{2}, 2}));
    t.editor.editing.selectRow(2);
    QVERIFY(t.editor.link.selectionToSend().isEmpty());
    QCOMPARE(t.editor.link.selectionToSend(true), link::encode(link::Selection{{2}, 2}));
    t.editor.selection.VybratVse1Click();
    QCOMPARE(t.editor.link.selectionToSend(),
             link::encode(link::Selection{{1, 2}, t.s.SGDilky.currentRow()}));
}

// Once F3 has written the preview, every change is written there as Save would compose it; before
// F3, with following off, or for a change of nothing, the file stays as it was.
void TestViewLink::following_data() {
    QTest::addColumn<bool>("previewed");
    QTest::addColumn<bool>("on");
    QTest::addColumn<std::function<void(Editor&)>>("change");
    QTest::addColumn<bool>("written");

    using Change = std::function<void(Editor&)>;
    const Change arrow = [](Editor& e) {
        e.editing.pressUpDown(UpDownId::UDx, +1);
    };
    QTest::newRow("arrow click") << true << true << arrow << true;
    QTest::newRow("before F3") << false << true << arrow << false;
    QTest::newRow("following off") << true << false << arrow << false;
    QTest::newRow("selection only")
        << true << true << Change([](Editor& e) { e.editing.selectRow(1); }) << false;
    QTest::newRow("undo") << true << true << Change([](Editor& e) { e.undoRedo.ZpetClick(); })
                          << true;
    QTest::newRow("background") << true << true
                                << Change([](Editor& e) { e.state.Shape2 = 0x102030; }) << true;
    QTest::newRow("axis convention")
        << true << true << Change([](Editor& e) { e.panels.ImXYZClick(2); }) << true;
    QTest::newRow("drag in the view") << true << true << Change([](Editor& e) {
        e.link.take(link::encode(link::Drag{1, {1, 0, 0}}));
        e.preview.rewrite();
    }) << true;
    QTest::newRow("new scene") << true << true << Change([](Editor& e) {
        e.state.markSaved();
        e.lifecycle.Nov1Click();
    }) << true;
}

void TestViewLink::following() {
    QFETCH(bool, previewed);
    QFETCH(bool, on);
    QFETCH(std::function<void(Editor&)>, change);
    QFETCH(bool, written);

    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    t.editor.preview.afterHandler();
    if (previewed)
        t.editor.preview.NahledClick();
    t.editor.preview.NahledSleduje1Click(on);
    const QByteArray before = fileText(t.s.PreviewFileName);

    change(t.editor);
    t.editor.preview.afterHandler();
    t.editor.preview.finish();
    ComposeScene(t.s);
    QCOMPARE(fileText(t.s.PreviewFileName), written ? t.s.Final : before);
    QCOMPARE(t.editor.preview.writeCount(), written ? 1 : 0);
    QCOMPARE(t.dialogs.viewed.size(), previewed ? 1 : 0); // only F3 opens the viewer
}

// Quick edits are gathered by a pause before the write; a drag's release is written at once.
void TestViewLink::writePause_data() {
    QTest::addColumn<bool>("drag");

    QTest::newRow("arrow click") << false;
    QTest::newRow("drag in the view") << true;
}

void TestViewLink::writePause() {
    QFETCH(bool, drag);

    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.preview.NahledClick();
    t.editor.editing.pressUpDown(UpDownId::UDx, +1);
    if (drag)
        t.editor.preview.rewrite();
    t.editor.preview.afterHandler();
    QVERIFY(t.editor.preview.msUntilWrite() >= 0);
    QCOMPARE(t.editor.preview.msUntilWrite() == 0, drag);
}

QTEST_GUILESS_MAIN(TestViewLink)
#include "tst_viewlink.moc"
