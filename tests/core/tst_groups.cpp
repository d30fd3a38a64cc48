#include "TestEditor.h"
#include "vrml/SceneWriter.h"

#include <QFile>
#include <QTest>
#include <functional>

using namespace modulino;

namespace {

using Col = PieceTable::Column;
using Action = std::function<void(TestEditor&)>;

// Six pieces with texts as a file gives them.
const QStringList Pieces[] = {
    {"255", "krychle", "1", "1", "1", "0", "0", "0", "ANO", "1.00", "0.00", "0.00"},
    {"65280", "koule", "2", "2", "2", "19.9", "1", "1", "ANO", "0.00", "1.00", "0.00"},
    {"255", "krychle", "1", "1", "1", "-20", "2", "2", "NE", "1.00", "0.00", "0.00"},
    {"16711680", "válec", "1.5", "3", "1.5", "5.25", "3", "3", "ANO", "0.00", "0.00", "1.00"},
    {"255", "kvádr", "1", "2", "3", "12.3", "4", "4", "ANO", "1.00", "0.00", "0.00"},
    {"65280", "jehlan", "1", "1", "1", "-1.5", "5", "5", "NE", "0.00", "1.00", "0.00"},
};

void sixPieces(TestEditor& t) {
    for (const QStringList& texts : Pieces) {
        t.editor.editing.PridejClick();
        for (int c = 0; c < PieceTable::ColumnCount; ++c)
            t.s.SGDilky.setCell(c, t.s.SGDilky.rowCount() - 1, texts[c]);
    }
    t.editor.editing.selectRow(1);
    t.s.history.clear();
}

// Plays a selection script: "s3" selects row 3, "t3" Ctrl+clicks it, "e3" Shift+clicks it, "a"
// selects all, "h" and "c" select the same shape or colour, "x3" removes row 3 and "i3" inserts
// a row there as undo would.
void play(TestEditor& t, const QString& script) {
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        const int row = step.mid(1).toInt();
        const History::Pause quiet(t.s.history);
        switch (step[0].toLatin1()) {
        case 's':
            t.editor.editing.selectRow(row);
            break;
        case 't':
            t.editor.selection.SGDilkyToggleRow(row);
            break;
        case 'e':
            t.editor.selection.SGDilkyExtendTo(row);
            break;
        case 'a':
            t.editor.selection.VybratVse1Click();
            break;
        case 'h':
            t.editor.selection.VybratTvar1Click();
            break;
        case 'c':
            t.editor.selection.VybratBarvu1Click();
            break;
        case 'x':
            t.s.SGDilky.removeRow(row);
            break;
        case 'i':
            t.s.SGDilky.insertRow(row, t.s.SGDilky.row(1));
            break;
        }
    }
}

QList<int> selected(const TestEditor& t) {
    const std::vector<int> rows = t.editor.selection.selectedRows();
    return {rows.begin(), rows.end()};
}

QStringList columnTexts(const TestEditor& t, int c) {
    QStringList texts;
    for (int r = 1; r < t.s.SGDilky.rowCount(); ++r)
        texts << t.cell(c, r);
    return texts;
}

QList<QStringList> allRows(const TestEditor& t) {
    QList<QStringList> rows;
    for (int r = 1; r < t.s.SGDilky.rowCount(); ++r)
        rows << QStringList(t.s.SGDilky.row(r).cells.begin(), t.s.SGDilky.row(r).cells.end());
    return rows;
}

const QString GoodLine =
    QStringLiteral("Dilek { velikost 1 2 3 poloha 0 0 0 tvar \"kvadr\" povrch 1 0 0 ovltransp 0 }");

} // namespace

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(ArrayRequest)

class TestGroups : public QObject {
    Q_OBJECT

private slots:
    void selection_data();
    void selection();
    void groupEdits_data();
    void groupEdits();
    void addedAndRemovedPieces_data();
    void addedAndRemovedPieces();
    void clipboardRoundTrip_data();
    void clipboardRoundTrip();
    void pasteRefusals_data();
    void pasteRefusals();
    void arrayOffsets_data();
    void arrayOffsets();
    void appendScene();
};

void TestGroups::selection_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<int>("current");
    QTest::newRow("plain") << "s3" << QList<int>{3} << 3;
    QTest::newRow("ctrl adds") << "s2 t4" << QList<int>{2, 4} << 4;
    QTest::newRow("ctrl removes the current") << "s2 t4 t5 t5" << QList<int>{2, 4} << 4;
    QTest::newRow("ctrl keeps the last") << "s2 t2" << QList<int>{2} << 2;
    QTest::newRow("shift") << "s2 e5" << QList<int>{2, 3, 4, 5} << 5;
    QTest::newRow("shift from the anchor") << "s2 e5 e1" << QList<int>{1, 2} << 1;
    QTest::newRow("ctrl then shift") << "s1 t4 e6" << QList<int>{4, 5, 6} << 6;
    QTest::newRow("all") << "s3 a" << QList<int>{1, 2, 3, 4, 5, 6} << 3;
    QTest::newRow("plain after all") << "a s2" << QList<int>{2} << 2;
    QTest::newRow("same shape") << "s3 t6 h" << QList<int>{6} << 6;
    QTest::newRow("same shape of current") << "s1 h" << QList<int>{1, 3} << 1;
    QTest::newRow("same colour") << "s5 c" << QList<int>{1, 3, 5} << 5;
    QTest::newRow("row removed above") << "s2 t5 x1" << QList<int>{1, 4} << 5;
    QTest::newRow("selected row removed") << "s2 t5 t3 x3" << QList<int>{2, 4} << 3;
    QTest::newRow("row inserted between") << "s2 t5 i3" << QList<int>{2, 6} << 5;
}

// The current row is the table's; it moves with the rows only through the handlers.
void TestGroups::selection() {
    QFETCH(QString, script);
    QFETCH(QList<int>, rows);
    QFETCH(int, current);
    TestEditor t;
    sixPieces(t);
    play(t, script);
    QCOMPARE(selected(t), rows);
    QCOMPARE(t.s.SGDilky.currentRow(), current);
    QCOMPARE(t.s.SGDilky.selectedCount(), rows.size());
}

void TestGroups::groupEdits_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<Action>("edit");
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("texts");
    const QString four = QStringLiteral("s1 t2 t4 t5");
    QTest::newRow("arrow, each clamped")
        << four << Action([](TestEditor& t) { t.editor.group.pressUpDown(UpDownId::UDx, +1); })
        << int(Col::XColumn) << QStringList{"0.1", "20.0", "-20", "5.3", "12.4", "-1.5"};
    QTest::newRow("arrow down at the bound")
        << "s3 t6" << Action([](TestEditor& t) { t.editor.group.pressUpDown(UpDownId::UDx, -1); })
        << int(Col::XColumn) << QStringList{"0", "19.9", "-20.0", "5.25", "12.3", "-1.6"};
    QTest::newRow("wheel notch") << four << Action([](TestEditor& t) {
        t.s.MouseColumn = Col::XColumn;
        t.editor.group.wheelNotch(+1, {});
    }) << int(Col::XColumn) << QStringList{"1.0", "20.0", "-20", "6.2", "13.3", "-1.5"};
    QTest::newRow("typed value") << four << Action([](TestEditor& t) {
        QVERIFY(t.editor.group.SGDilkySetEditText(Col::XColumn, 5, u"3,5"));
    }) << int(Col::XColumn) << QStringList{"3.5", "3.5", "-20", "3.5", "3.5", "-1.5"};
    QTest::newRow("shape list") << four
                                << Action([](TestEditor& t) { t.editor.group.TvarChange(4); })
                                << int(Col::ShapeColumn) << QStringList{"koule", "koule", "krychle",
                                                                        "koule", "koule", "jehlan"};
    QTest::newRow("check box") << four
                               << Action([](TestEditor& t) { t.editor.group.setCBovl(false); })
                               << int(Col::ControlsColumn)
                               << QStringList{"NE", "NE", "NE", "NE", "NE", "NE"};
    QTest::newRow("piece colour") << four << Action([](TestEditor& t) {
        t.dialogs.colourAnswers << rgb(0, 0, 255);
        t.editor.group.Shape1MouseDown();
    }) << int(Col::BlueColumn) << QStringList{"1.00", "1.00", "0.00", "1.00", "1.00", "0.00"};
    QTest::newRow("size arrow, shape check per piece")
        << "s1 t3" << Action([](TestEditor& t) { t.editor.group.pressUpDown(UpDownId::UDrx, +1); })
        << int(Col::ShapeColumn)
        << QStringList{"kvádr", "koule", "kvádr", "válec", "kvádr", "jehlan"};
}

void TestGroups::groupEdits() {
    QFETCH(QString, script);
    QFETCH(Action, edit);
    QFETCH(int, column);
    QFETCH(QStringList, texts);
    TestEditor t;
    sixPieces(t);
    play(t, script);
    const QList<QStringList> before = allRows(t);
    const QList<int> selection = selected(t);
    edit(t);
    QCOMPARE(columnTexts(t, column), texts);
    QCOMPARE(t.s.history.stepCount(), 1);
    QCOMPARE(selected(t), selection);
    t.editor.undoRedo.ZpetClick();
    QCOMPARE(allRows(t), before);
    QCOMPARE(selected(t), selection);
    t.editor.undoRedo.ZnovuClick();
    QCOMPARE(columnTexts(t, column), texts);
    QVERIFY(t.dialogs.allAnswered());
}

void TestGroups::addedAndRemovedPieces_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<Action>("edit");
    QTest::addColumn<QStringList>("x");
    QTest::addColumn<QList<int>>("rows");
    const QStringList six{"0", "19.9", "-20", "5.25", "12.3", "-1.5"};
    QTest::newRow("delete") << "s2 t4 t5"
                            << Action([](TestEditor& t) { t.editor.group.DelClick(); })
                            << QStringList{"0", "-20", "-1.5"} << QList<int>{2};
    QTest::newRow("cut") << "s4 t2" << Action([](TestEditor& t) {
        QCOMPARE(t.editor.transfer.Vyjmout1Click().count(u"Dilek"), 2);
    }) << QStringList{"0", "-20", "12.3", "-1.5"}
                         << QList<int>{2};
    QTest::newRow("duplicate in order")
        << "s4 t2" << Action([](TestEditor& t) { t.editor.group.Duplikovat1Click(); })
        << six + QStringList{"19.9", "5.25"} << QList<int>{7, 8};
    QTest::newRow("array") << "s1 t6" << Action([](TestEditor& t) {
        t.dialogs.arrayAnswers << ArrayRequest{2, {10, 0, 0}};
        t.editor.group.Pole1Click();
    }) << six + QStringList{"1.0", "-0.5", "2.0", "0.5"}
                           << QList<int>{7, 8, 9, 10};
    QTest::newRow("paste") << "s5 t1" << Action([](TestEditor& t) {
        QVERIFY(t.editor.transfer.Vlozit1Click(t.editor.transfer.Kopirovat1Click()));
    }) << six + QStringList{"0", "12.3"}
                           << QList<int>{7, 8};
}

void TestGroups::addedAndRemovedPieces() {
    QFETCH(QString, script);
    QFETCH(Action, edit);
    QFETCH(QStringList, x);
    QFETCH(QList<int>, rows);
    TestEditor t;
    sixPieces(t);
    play(t, script);
    const QList<QStringList> before = allRows(t);
    const QList<int> selection = selected(t);
    edit(t);
    QCOMPARE(columnTexts(t, Col::XColumn), x);
    QCOMPARE(selected(t), rows);
    QCOMPARE(t.s.CurrentRow, t.s.SGDilky.currentRow());
    QCOMPARE(t.s.history.stepCount(), 1);
    t.editor.undoRedo.ZpetClick();
    QCOMPARE(allRows(t), before);
    QCOMPARE(selected(t), selection);
    t.editor.undoRedo.ZnovuClick();
    QCOMPARE(columnTexts(t, Col::XColumn), x);
    QVERIFY(t.dialogs.allAnswered());
}

void TestGroups::clipboardRoundTrip_data() {
    QTest::addColumn<int>("axisOrder");
    QTest::addColumn<QString>("velikost"); // of the fourth piece, in the scene's axes
    QTest::newRow("xyz") << 0 << "velikost 1.5 3 1.5 ";
    QTest::newRow("xzy") << 1 << "velikost 1.5 1.5 3 ";
    QTest::newRow("yzx") << 2 << "velikost 3 1.5 1.5 ";
}

void TestGroups::clipboardRoundTrip() {
    QFETCH(int, axisOrder);
    QFETCH(QString, velikost);
    TestEditor from;
    sixPieces(from);
    from.s.AxisOrder = axisOrder;
    from.editor.selection.VybratVse1Click();
    const QString text = from.editor.transfer.Kopirovat1Click();
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 7);
    QVERIFY(lines[3].startsWith(QStringLiteral("Dilek { ") + velikost));

    TestEditor to;
    to.s.AxisOrder = axisOrder;
    QVERIFY(to.editor.transfer.Vlozit1Click(text));
    QCOMPARE(allRows(to), allRows(from));
    QCOMPARE(selected(to), (QList<int>{1, 2, 3, 4, 5, 6}));
    to.editor.undoRedo.ZpetClick();
    QVERIFY(to.s.SGDilky.isEmpty());
}

void TestGroups::pasteRefusals_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pasted");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("no piece line") << "hello\nworld" << 0;
    QTest::newRow("a colour that is no number")
        << GoodLine + "\nDilek { velikost 1 1 1 poloha 0 0 0 tvar \"koule\" povrch 1..2 1 1 }" << 0;
    QTest::newRow("other lines skipped") << "# a note\r\n" + GoodLine + "\nfoo\n" + GoodLine << 2;
    QTest::newRow("a shape named Background")
        << "Dilek { velikost 1 poloha 0 tvar \"Background {\" povrch 1 0 0 }\n" + GoodLine << 2;
    QTest::newRow("a whole scene file")
        << "#VRML V2.0 utf8\nPROTO Dilek [ ]\nBackground { skyColor 1 1 1 }\n" + GoodLine << 1;
}

void TestGroups::pasteRefusals() {
    QFETCH(QString, text);
    QFETCH(int, pasted);
    TestEditor t;
    sixPieces(t);
    QCOMPARE(t.editor.transfer.Vlozit1Click(text), pasted > 0);
    QCOMPARE(t.s.SGDilky.rowCount(), 7 + pasted);
    QCOMPARE(t.s.history.stepCount(), pasted > 0 ? 1 : 0);
    QCOMPARE(t.dialogs.messages,
             pasted > 0 ? QStringList() : QStringList{t.s.texts.notices.NothingPasted});
    if (pasted > 0)
        QCOMPARE(t.cell(Col::ShapeColumn, 6 + pasted), QStringLiteral("kvádr"));
}

void TestGroups::arrayOffsets_data() {
    QTest::addColumn<int>("axisOrder");
    QTest::addColumn<ArrayRequest>("request");
    QTest::addColumn<QString>("poloha"); // of the last copy, in the scene's axes
    QTest::addColumn<bool>("clamped");
    const ArrayRequest up{2, {0, 5, 0}};
    QTest::newRow("xyz") << 0 << up << "poloha 1 3.0 3 " << false;
    QTest::newRow("xzy") << 1 << up << "poloha 1 3 3.0 " << false;
    QTest::newRow("yzx") << 2 << up << "poloha 3.0 3 1 " << false;
    QTest::newRow("clamped") << 0 << ArrayRequest{3, {0, 0, 100}} << "poloha 1 2 20.0 " << true;
    QTest::newRow("negative") << 1 << ArrayRequest{1, {-15, 0, 0}} << "poloha -0.5 3 2 " << false;
}

void TestGroups::arrayOffsets() {
    QFETCH(int, axisOrder);
    QFETCH(ArrayRequest, request);
    QFETCH(QString, poloha);
    QFETCH(bool, clamped);
    TestEditor t;
    t.s.AxisOrder = axisOrder;
    t.editor.editing.PridejClick();
    for (int axis = 0; axis < 3; ++axis)
        t.s.SGDilky.setCell(Col::XColumn + axis, 1, QString::number(axis + 1));
    t.dialogs.arrayAnswers << request;
    t.editor.group.Pole1Click();
    QCOMPARE(t.dialogs.arrayClamped, QList<bool>{clamped});
    const int last = t.s.SGDilky.rowCount() - 1;
    QCOMPARE(last, 1 + request.count);
    QCOMPARE(t.s.CurrentRow, last);
    const SceneParts parts{t.s.prototyp, t.s.Shape2, t.s.SGDilky, t.s.texts, axisOrder, false};
    QVERIFY(QString::fromLatin1(pieceLines(parts, {last})).contains(poloha));
}

void TestGroups::appendScene() {
    TestEditor t;
    sixPieces(t);
    const QString scene = t.folder.filePath(QStringLiteral("other.wrl"));
    const QString notScene = t.folder.filePath(QStringLiteral("notes.wrl"));
    QFile file(scene);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(("PROTO Dilek [ ]\r\nBackground { skyColor 1 1 1}\r\n" + GoodLine + "\r\n" +
                GoodLine + "\r\n")
                   .toLatin1());
    file.close();
    QFile notes(notScene);
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("Dilek\n") > 0);
    notes.close();

    QVERIFY(!t.editor.transfer.appendFile(t.folder.filePath(QStringLiteral("missing.wrl"))));
    QVERIFY(!t.editor.transfer.appendFile(notScene));
    QCOMPARE(t.dialogs.errors.size(), 1);
    QCOMPARE(t.dialogs.messages, QStringList{t.s.texts.MessageTexts[5]});
    QCOMPARE(t.s.history.stepCount(), 0);

    const QByteArrayList library = t.s.prototyp;
    t.dialogs.openAnswers << scene;
    t.editor.transfer.Pripojit1Click();
    QCOMPARE(t.s.SGDilky.rowCount(), 9);
    QCOMPARE(selected(t), (QList<int>{7, 8}));
    QCOMPARE(t.s.prototyp, library); // the other file's library is left aside
    t.editor.undoRedo.ZpetClick();
    QCOMPARE(t.s.SGDilky.rowCount(), 7);
    QVERIFY(t.dialogs.allAnswered());
}

QTEST_GUILESS_MAIN(TestGroups)
#include "tst_groups.moc"
