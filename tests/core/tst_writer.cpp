#include "TestEditor.h"
#include "base/TextTables.h"
#include "scene/PieceTable.h"
#include "vrml/SceneWriter.h"

#include <QFile>
#include <QTest>

using namespace modulino;

namespace {

const QByteArray DefaultBackgroundLine = "Background { skyColor  0.80 0.80 1.00}";

PieceRow pieceRow(const QStringList& cells) {
    PieceRow row;
    for (int c = 0; c < PieceTable::ColumnCount; ++c)
        row[c] = cells.value(c);
    return row;
}

struct Scene {
    QByteArrayList library;
    TextTables texts = TextTables::builtIn();
    Colour background = DefaultBackground;
    int axisOrder = 0;
    bool hideControls = false;
    QList<QStringList> rows;

    QByteArray compose() const {
        PieceTable table;
        for (const QStringList& cells : rows)
            table.appendRow(pieceRow(cells));
        return composeScene(SceneParts{library, background, table, texts, axisOrder, hideControls});
    }
};

// A piece with rx "1.0", ry "2.0", rz "3.0" at x "4.0", y "5.0", z "6.0".
const QStringList DistinctPiece = {"16777215", "krychle", "1.0", "2.0", "3.0", "4.0",
                                   "5.0",      "6.0",     "ANO", "1",   "1",   "1"};

QStringList withCell(QStringList cells, int column, const QString& text) {
    cells[column] = text;
    return cells;
}

} // namespace

class TestWriter : public QObject {
    Q_OBJECT

private slots:
    void pieceLine_data();
    void pieceLine();
    void backgroundLine_data();
    void backgroundLine();
    void emptyTableGivesLibraryAndBackground();
    void everyLineEndsInCrLf();
    void libraryLinesCutTo4096();
    void translatedShapeNames();
    void editedScene();
};

void TestWriter::pieceLine_data() {
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<int>("axisOrder");
    QTest::addColumn<bool>("hideControls");
    QTest::addColumn<QByteArray>("expected");

    const QStringList fresh = {"16777215", "krychle", "1",   "1", "1", "0",
                               "0",        "0",       "ANO", "1", "1", "1"};
    QTest::newRow("new piece") << fresh << 0 << false
                               << QByteArray("Dilek { velikost 1 1 1 poloha 0 0 0 tvar \"krychle\" "
                                             "povrch 1 1 1 ovltransp 0 }");
    QTest::newRow("edited piece")
        << QStringList{"16728192", "kvádr", "2.0", "1.0",  "1.5",  "-3.0",
                       "0.0",      "2.5",   "NE",  "0.50", "0.25", "1.00"}
        << 0 << false
        << QByteArray("Dilek { velikost 2.0 1.0 1.5 poloha -3.0 0.0 2.5 tvar \"kvadr\" "
                      "povrch 0.50 0.25 1.00 ovltransp 1 }");

    const QByteArray tail = " tvar \"krychle\" povrch 1 1 1 ovltransp 0 }";
    QTest::newRow("xyz") << DistinctPiece << 0 << false
                         << "Dilek { velikost 1.0 2.0 3.0 poloha 4.0 5.0 6.0" + tail;
    QTest::newRow("xzy") << DistinctPiece << 1 << false
                         << "Dilek { velikost 1.0 3.0 2.0 poloha 4.0 6.0 5.0" + tail;
    QTest::newRow("yzx") << DistinctPiece << 2 << false
                         << "Dilek { velikost 2.0 3.0 1.0 poloha 5.0 6.0 4.0" + tail;
    QTest::newRow("colour never reordered")
        << withCell(withCell(DistinctPiece, 9, "0.10"), 11, "0.30") << 2 << false
        << QByteArray("Dilek { velikost 2.0 3.0 1.0 poloha 5.0 6.0 4.0 tvar \"krychle\" "
                      "povrch 0.10 1 0.30 ovltransp 0 }");

    const QByteArray start = "Dilek { velikost 1 1 1 poloha 0 0 0 tvar \"krychle\" povrch 1 1 1";
    QTest::newRow("CBSkryt over ANO") << fresh << 0 << true << start + " ovltransp 1 }";
    QTest::newRow("CBSkryt over NE")
        << withCell(fresh, 8, "NE") << 0 << true << start + " ovltransp 1 }";
    QTest::newRow("NE") << withCell(fresh, 8, "NE") << 0 << false << start + " ovltransp 1 }";
    QTest::newRow("ne") << withCell(fresh, 8, "ne") << 0 << false << start + " ovltransp 0 }";
    QTest::newRow("NE with a blank")
        << withCell(fresh, 8, "NE ") << 0 << false << start + " ovltransp 0 }";
    QTest::newRow("empty controls cell")
        << withCell(fresh, 8, "") << 0 << false << start + " ovltransp 0 }";

    const char* const names[] = {"krychle", "kvádr",  "válec",          "kužel",
                                 "koule",   "jehlan", "trojboký hranol"};
    const char* const keywords[] = {"krychle", "kvadr",  "valec", "kuzel",
                                    "koule",   "jehlan", "hranol"};
    for (int k = 0; k < 7; ++k)
        QTest::addRow("shape %s", keywords[k])
            << withCell(fresh, 1, QString::fromUtf8(names[k])) << 0 << false
            << "Dilek { velikost 1 1 1 poloha 0 0 0 tvar \"" + QByteArray(keywords[k]) +
                   "\" povrch 1 1 1 ovltransp 0 }";

    const QByteArray afterShape = " povrch 1 1 1 ovltransp 0 }";
    const QByteArray beforeShape = "Dilek { velikost 1 1 1 poloha 0 0 0 tvar ";
    // Names outside the seven are VRML strings.
    QTest::newRow("shape of another case")
        << withCell(fresh, 1, "Krychle") << 0 << false << beforeShape + "\"Krychle\"" + afterShape;
    QTest::newRow("unknown shape in Windows-1250") << withCell(fresh, 1, "kvádr ") << 0 << false
                                                   << beforeShape +
                                                          "\"kv\xE1"
                                                          "dr \"" +
                                                          afterShape;
    QTest::newRow("empty shape") << withCell(fresh, 1, "") << 0 << false
                                 << beforeShape + "\"\"" + afterShape;
    QTest::newRow("quote and backslash escaped")
        << withCell(fresh, 1, R"(a"b\č)") << 0 << false
        << beforeShape + R"("a\"b\\)" + "\xE8\"" + afterShape;
    QTest::newRow("cells written as they stand")
        << withCell(withCell(fresh, 2, "1,5"), 7, "a b") << 0 << false
        << QByteArray("Dilek { velikost 1,5 1 1 poloha 0 0 a b tvar \"krychle\"") + afterShape;
}

void TestWriter::pieceLine() {
    QFETCH(QStringList, cells);
    QFETCH(int, axisOrder);
    QFETCH(bool, hideControls);
    QFETCH(QByteArray, expected);

    Scene scene;
    scene.axisOrder = axisOrder;
    scene.hideControls = hideControls;
    scene.rows = {cells};
    QCOMPARE(scene.compose(), DefaultBackgroundLine + "\r\n" + expected + "\r\n");
}

void TestWriter::backgroundLine_data() {
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("start-up") << DefaultBackground << DefaultBackgroundLine;
    QTest::newRow("black") << rgb(0, 0, 0) << QByteArray("Background { skyColor  0.00 0.00 0.00}");
    QTest::newRow("chosen") << rgb(128, 64, 255)
                            << QByteArray("Background { skyColor  0.50 0.25 1.00}");
    QTest::newRow("near the ends")
        << rgb(1, 254, 3) << QByteArray("Background { skyColor  0.00 1.00 0.01}");
}

void TestWriter::backgroundLine() {
    QFETCH(Colour, colour);
    QFETCH(QByteArray, expected);
    QCOMPARE(modulino::backgroundLine(colour), expected);
    Scene scene;
    scene.background = colour;
    QCOMPARE(scene.compose(), expected + "\r\n");
}

void TestWriter::emptyTableGivesLibraryAndBackground() {
    Scene scene;
    scene.library = {"#VRML V2.0 utf8", "", "\tPROTO X [ ] { }  "};
    QCOMPARE(scene.compose(),
             "#VRML V2.0 utf8\r\n\r\n\tPROTO X [ ] { }  \r\n" + DefaultBackgroundLine + "\r\n");
}

void TestWriter::everyLineEndsInCrLf() {
    Scene scene;
    scene.library = {"a", "b"};
    scene.rows = {DistinctPiece, DistinctPiece, DistinctPiece};
    const QByteArray file = scene.compose();
    QVERIFY(file.endsWith("}\r\n"));
    QCOMPARE(file.count("\r\n"), 6);
    QCOMPARE(file.count('\n'), 6);
    QCOMPARE(file.count('\r'), 6);
}

void TestWriter::libraryLinesCutTo4096() {
    Scene scene;
    scene.library = {QByteArray(5000, 'a'), QByteArray(4096, 'b'), QByteArray(4095, 'c')};
    QCOMPARE(scene.compose(), QByteArray(4096, 'a') + "\r\n" + QByteArray(4096, 'b') + "\r\n" +
                                  QByteArray(4095, 'c') + "\r\n" + DefaultBackgroundLine + "\r\n");
}

// The keyword follows the display names in force, which a language file may have replaced.
void TestWriter::translatedShapeNames() {
    Scene scene;
    scene.texts.ShapeTexts[8] = QStringLiteral("cuboid");
    scene.texts.ShapeTexts[13] = QStringLiteral("prism");
    scene.rows = {withCell(DistinctPiece, 1, "cuboid"), withCell(DistinctPiece, 1, "kvádr"),
                  withCell(DistinctPiece, 1, "prism")};
    const QByteArrayList lines = scene.compose().split('\n');
    QVERIFY(lines[1].contains(" tvar \"kvadr\" "));
    QVERIFY(lines[2].contains(" tvar \"kv\xE1"
                              "dr\" "));
    QVERIFY(lines[3].contains(" tvar \"hranol\" "));
}

// The scene built with the editing controls, composed by the editor, byte for byte.
void TestWriter::editedScene() {
    TestEditor t;
    PieceEditing& editing = t.editor.editing;
    editing.PridejClick();
    editing.PridejClick();
    const auto press = [&](UpDownId id, int times) {
        for (int i = 0; i < std::abs(times); ++i)
            QVERIFY(editing.pressUpDown(id, times > 0 ? +1 : -1));
    };
    press(UpDownId::UDrx, 10);
    press(UpDownId::UDry, 1);
    press(UpDownId::UDry, -1);
    press(UpDownId::UDrz, 5);
    press(UpDownId::UDx, -30);
    press(UpDownId::UDy, 1);
    press(UpDownId::UDy, -1);
    press(UpDownId::UDz, 25);
    t.dialogs.colourAnswers << rgb(128, 64, 255);
    editing.Shape1MouseDown();
    editing.setCBovl(false);
    // Two clicks up on rx turn the cube into a cuboid.
    editing.PridejClick();
    press(UpDownId::UDrx, 2);
    QVERIFY(t.dialogs.allAnswered());

    ComposeScene(t.s);
    QFile golden(QStringLiteral(MODULINO_TEST_DATA "/output/edited-scene.wrl"));
    QVERIFY(golden.open(QIODevice::ReadOnly));
    const QByteArrayList expected = golden.readAll().split('\n');
    const QByteArrayList actual = t.s.Final.split('\n');
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i)
        QCOMPARE(actual[i], expected[i]);
}

QTEST_GUILESS_MAIN(TestWriter)
#include "tst_writer.moc"
