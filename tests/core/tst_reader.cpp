#include "TestEditor.h"
#include "vrml/SceneReader.h"
#include "vrml/SceneWriter.h"
#include "vrml/TextLines.h"

#include <QRandomGenerator>
#include <QTest>

using namespace modulino;
using namespace Qt::StringLiterals;

namespace {

QByteArray crlf(const QByteArrayList& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

const QByteArray Background = "Background { skyColor  0.80 0.80 1.00}";
const QByteArray PartExample = "Dilek { velikost 2.0 1.0 1.5 poloha -3.0 0.0 2.5 tvar \"kvadr\" "
                               "povrch 0.50 0.25 1.00 ovltransp 1 }";

QByteArray piece(const QByteArray& sizes, const QByteArray& shape = "krychle",
                 const QByteArray& colour = "1 1 1", const QByteArray& controls = "0") {
    return "Dilek { velikost " + sizes + " poloha 0 0 0 tvar \"" + shape + "\" povrch " + colour +
           " ovltransp " + controls + " }";
}

QStringList cells(const TestEditor& t, int row) {
    QStringList texts;
    for (int c = 0; c < PieceTable::ColumnCount; ++c)
        texts << t.cell(c, row);
    return texts;
}

bool read(TestEditor& t, const QByteArray& bytes) {
    return readScene(t.s, t.editor.editing, bytes);
}

} // namespace

class TestReader : public QObject {
    Q_OBJECT

private slots:
    void parsePieceLine_data();
    void parsePieceLine();

    void readsTheExampleUnderEachConvention_data();
    void readsTheExampleUnderEachConvention();
    void everyAppendedRowIsSelected();
    void takesTheHeadAsTheLibrary();
    void readsPiecesOnlyBelowTheBackgroundBlock();
    void keepsUnknownKeywordsAndMapsShapeNamesInChain();
    void selectionMayRenameTheShape();
    void controlsColumnIsNoOnlyForOne_data();
    void controlsColumnIsNoOnlyForOne();
    void badColourFailsAtItsLine_data();
    void badColourFailsAtItsLine();
    void withoutBackgroundNothingChanges_data();
    void backgroundIsTakenOver_data();
    void backgroundIsTakenOver();
    void escapedShapeNames_data();
    void escapedShapeNames();
    void withoutBackgroundNothingChanges();
    void oddBytesAndLineEnds();
    void headIsWrittenBackByteForByte();
    void survivesHostileInput();
};

void TestReader::parsePieceLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArrayList>("fields"); // S1 S2 S3 P1 P2 P3 T C1 C2 C3 O

    QTest::newRow("example") << PartExample
                             << QByteArrayList{"2.0",   "1.0",  "1.5",  "-3.0", "0.0", "2.5",
                                               "kvadr", "0.50", "0.25", "1.00", "1"};
    QTest::newRow("tab ends a field")
        << QByteArray("Dilek { velikost 2\t3 4 poloha 5 6 7 tvar \"valec\" povrch 0.1 0.2 0.3 "
                      "ovltransp 1 }")
        << QByteArrayList{"2", "1", "1", "3", "4", "0", "valec", "0.1", "0.2", "0.3", "1"};
    QTest::newRow("digit of a node name first")
        << QByteArray("D1 Dilek { velikost 2 3 4 poloha 5 6 7 tvar \"koule\" povrch 0 0 0 "
                      "ovltransp 1 }")
        << QByteArrayList{"1", "1", "1", "2", "3", "4", "koule", "0", "0", "0", "1"};
    QTest::newRow("no quotes")
        << QByteArray("Dilek { velikost 2 3 4 poloha 5 6 7 tvar kvadr povrch 0 0 0 ovltransp 1 }")
        << QByteArrayList{"2", "3", "4", "5", "6", "7", "krychle", "1", "1", "1", "0"};
    QTest::newRow("no numbers, no quotes")
        << QByteArray("Dilek { }")
        << QByteArrayList{"1", "1", "1", "0", "0", "0", "krychle", "1", "1", "1", "0"};
    QTest::newRow("empty") << QByteArray() << QByteArrayList{"1",       "1", "1", "0", "0", "0",
                                                             "krychle", "1", "1", "1", "0"};
    QTest::newRow("ends after the position")
        << QByteArray("Dilek 1 2 3 4 5 6")
        << QByteArrayList{"1", "2", "3", "4", "5", "6", "krychle", "1", "1", "1", "0"};
    // The character right after the last position is passed over unseen, even a quote.
    QTest::newRow("quote right after the position")
        << QByteArray("Dilek 1 2 3 4 5 6\"kvadr\" 0.5 0.5 0.5 1")
        << QByteArrayList{"1", "2", "3", "4", "5", "6", " 0.5 0.5 0.5 ", "1", "1", "1", "0"};
    QTest::newRow("unclosed name loses the last character")
        << QByteArray("Dilek 1 2 3 4 5 6 \"kvadr")
        << QByteArrayList{"1", "2", "3", "4", "5", "6", "kvad", "1", "1", "1", "0"};
    QTest::newRow("comma ends a number")
        << QByteArray("Dilek { velikost 1,5 2 3 poloha 4 5 6 tvar \"jehlan\" povrch 1 0 1 }")
        << QByteArrayList{"1", "1", "1", "5", "2", "3", "jehlan", "1", "0", "1", "0"};
    QTest::newRow("signs and points stay as they stood")
        << QByteArray("Dilek +1 -.5 1.2.3 +-1 . -- \"hranol\" 1. .5 +0 0.8")
        << QByteArrayList{"+1",     "-.5", "1.2.3", "+-1", ".",  "--",
                          "hranol", "1.",  ".5",    "+0",  "0.8"};
    QTest::newRow("only number characters")
        << QByteArray("Dilek") + QByteArray(40, '7') + "-.+"
        << QByteArrayList{
               QByteArray(40, '7') + "-.+", "1", "1", "0", "0", "0", "krychle", "1", "1", "1", "0"};
    QTest::newRow("name keeps tabs, NUL and 8-bit bytes")
        << "Dilek 1 1 1 0 0 0 \"kv\xe1\tdr\0x\" 1 1 1 1"_ba
        << QByteArrayList{"1", "1", "1", "0", "0", "0", "kv\xe1\tdr\0x"_ba, "1", "1", "1", "1"};
}

void TestReader::parsePieceLine() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArrayList, fields);
    const PieceFields f = ParsePieceLine(line);
    const QByteArrayList got{f.S1.toByteArray(), f.S2.toByteArray(), f.S3.toByteArray(),
                             f.P1.toByteArray(), f.P2.toByteArray(), f.P3.toByteArray(),
                             f.T.toByteArray(),  f.C1.toByteArray(), f.C2.toByteArray(),
                             f.C3.toByteArray(), f.O.toByteArray()};
    QCOMPARE(got, fields);
}

void TestReader::readsTheExampleUnderEachConvention_data() {
    QTest::addColumn<int>("axisOrder");
    QTest::addColumn<QStringList>("row");
    const QString c0 = "16728192", kvadr = "kvádr";
    QTest::newRow("xyz") << 0 << QStringList{c0,    kvadr, "2.0", "1.0",  "1.5",  "-3.0",
                                             "0.0", "2.5", "NE",  "0.50", "0.25", "1.00"};
    QTest::newRow("xzy") << 1 << QStringList{c0,    kvadr, "2.0", "1.5",  "1.0",  "-3.0",
                                             "2.5", "0.0", "NE",  "0.50", "0.25", "1.00"};
    QTest::newRow("yzx") << 2 << QStringList{c0,     kvadr, "1.5", "2.0",  "1.0",  "2.5",
                                             "-3.0", "0.0", "NE",  "0.50", "0.25", "1.00"};
}

void TestReader::readsTheExampleUnderEachConvention() {
    QFETCH(int, axisOrder);
    QFETCH(QStringList, row);
    TestEditor t;
    t.s.AxisOrder = axisOrder;
    QVERIFY(read(t, crlf({"#VRML V2.0 utf8", Background, PartExample})));
    QCOMPARE(t.s.SGDilky.rowCount(), 2);
    QCOMPARE(cells(t, 1), row);
    QCOMPARE(t.s.AxisOrder, axisOrder);
}

void TestReader::everyAppendedRowIsSelected() {
    TestEditor t;
    t.editor.editing.PridejClick(); // replaced by the read
    t.s.CurrentRow = 7;
    QVERIFY(read(t, crlf({Background, piece("1 1 1"), piece("2 3 4", "kvadr"),
                          piece("0.5 0.5 0.5", "koule", "0 0 0", "1")})));
    const PieceTable& table = t.s.SGDilky;
    QCOMPARE(table.rowCount(), 4);
    QCOMPARE(table.currentRow(), 3);
    QCOMPARE(t.s.CurrentRow, 3);
    QVERIFY(table.headerFixed());
    QVERIFY(table.wholeRowSelect());
    // The controls show the last row.
    QCOMPARE(t.s.upDown(UpDownId::UDrx).position, 5);
    QCOMPARE(t.s.Tvar.selected, 4);
    QCOMPARE(t.s.Shape1, Colour(0));
    QVERIFY(!t.s.CBovl);
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 2), QString("kvádr"));
    // The selections mark the scene unsaved; only the open command marks it saved.
    QVERIFY(!t.s.SceneSaved);
    QVERIFY(t.dialogs.log.isEmpty());
}

void TestReader::takesTheHeadAsTheLibrary() {
    TestEditor t;
    const QByteArrayList head{"#VRML V2.0 utf8", "", "DEF D Dilek { velikost 9 9 9 }",
                              "\tlast head line "};
    QVERIFY(read(t, crlf(head + QByteArrayList{Background, piece("2 2 2")})));
    QCOMPARE(t.s.prototyp, head);
    QCOMPARE(t.s.SGDilky.rowCount(), 2); // the Dilek in the head is no piece

    QVERIFY(read(t, crlf({Background, piece("2 2 2")})));
    QVERIFY(t.s.prototyp.isEmpty());
}

void TestReader::readsPiecesOnlyBelowTheBackgroundBlock() {
    TestEditor t;
    const QByteArray scene = crlf({
        "#VRML V2.0 utf8",
        "Background {",
        "  skyColor 0.1 0.2 0.3",
        "  Dilek inside the block 5 5 5",
        "}",
        piece("2 2 2"),
        "Transform { children [ Shape {} ] }",
        "Background { } # a second one is only a line",
        "  " + piece("3 3 3") + "  # Dilek lines may carry anything",
    });
    QVERIFY(read(t, scene));
    QCOMPARE(t.s.SGDilky.rowCount(), 3);
    QCOMPARE(t.cell(PieceTable::RxColumn, 1), QString("2"));
    QCOMPARE(t.cell(PieceTable::RxColumn, 2), QString("3"));
    QCOMPARE(t.s.prototyp, QByteArrayList{"#VRML V2.0 utf8"});
    const QByteArray composed = composeScene(
        {t.s.prototyp, t.s.Shape2, t.s.SGDilky, t.s.texts, t.s.AxisOrder, t.s.CBSkryt});
    QVERIFY(!composed.contains("Transform"));
    QVERIFY(!composed.contains("skyColor 0.1"));

    // The block ends at the first brace, even one on a piece line; one that never closes leaves
    // no piece to read.
    QVERIFY(read(t, crlf({"Background {", piece("2 2 2"), piece("3 3 3")})));
    QCOMPARE(t.s.SGDilky.rowCount(), 2);
    QCOMPARE(t.cell(PieceTable::RxColumn, 1), QString("3"));
    QVERIFY(read(t, crlf({"Background {", "Dilek 2 2 2", "Dilek 3 3 3"})));
    QVERIFY(t.s.SGDilky.isEmpty());
}

void TestReader::keepsUnknownKeywordsAndMapsShapeNamesInChain() {
    TestEditor t;
    QVERIFY(read(t, crlf({Background, piece("1 1 1", "Krychle"), piece("1 1 1", "valec2"),
                          piece("1 1 1", "hranol"),
                          piece("1 2 3", "kv\xe1"
                                         "dr")})));
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 1), QString("Krychle"));
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 2), QString("valec2"));
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 3), QString("trojboký hranol"));
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 4), QString("kvádr")); // Windows-1250 á, unequal sizes

    // A display name equal to a later keyword is mapped again.
    TestEditor renamed;
    renamed.s.texts.ShapeTexts[7] = "kuzel";
    renamed.s.texts.ShapeTexts[10] = "cone";
    QVERIFY(read(renamed, crlf({Background, piece("1 1 1", "krychle")})));
    QCOMPARE(renamed.cell(PieceTable::ShapeColumn, 1), QString("cone"));
}

void TestReader::selectionMayRenameTheShape() {
    // Reading keeps the shapes as the file holds them, whatever the sizes; the shape check
    // renames a piece only once the user selects it: a cuboid with equal sizes becomes a cube,
    // a cube with unequal sizes a cuboid.
    TestEditor t;
    QVERIFY(read(t, crlf({Background, piece("2 2 2", "kvadr"), piece("1 2 3", "krychle")})));
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 1), QString("kvádr"));
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 2), QString("krychle"));
    QCOMPARE(t.s.varovani, t.s.texts.ShapeTexts[4]); // the current piece is a cuboid
    t.editor.editing.selectRow(1);
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 1), QString("krychle"));
    t.editor.editing.selectRow(2);
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 2), QString("kvádr"));
}

void TestReader::controlsColumnIsNoOnlyForOne_data() {
    QTest::addColumn<QByteArray>("ovltransp");
    QTest::addColumn<QString>("cell");
    QTest::newRow("1") << QByteArray("1") << QString("NE");
    QTest::newRow("0") << QByteArray("0") << QString("ANO");
    QTest::newRow("1.0") << QByteArray("1.0") << QString("ANO");
    QTest::newRow("0.5") << QByteArray("0.5") << QString("ANO");
    QTest::newRow("+1") << QByteArray("+1") << QString("ANO");
}

void TestReader::controlsColumnIsNoOnlyForOne() {
    QFETCH(QByteArray, ovltransp);
    QFETCH(QString, cell);
    TestEditor t;
    QVERIFY(read(t, crlf({Background, piece("1 1 1", "krychle", "1 1 1", ovltransp)})));
    QCOMPARE(t.cell(PieceTable::ControlsColumn, 1), cell);
}

void TestReader::badColourFailsAtItsLine_data() {
    QTest::addColumn<QByteArray>("colour");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("colourCell");
    for (const char* bad : {"1.2.3", "-", "+-1", ".", "1-", "+"})
        QTest::newRow(bad) << QByteArray(bad) << false << QString();
    QTest::newRow("+1") << QByteArray("+1") << true << QString("16744703");
    QTest::newRow("1.") << QByteArray("1.") << true << QString("16744703");
    QTest::newRow(".5") << QByteArray(".5") << true << QString("16744576"); // 128 128 255
    QTest::newRow("-.1 wraps") << QByteArray("-.1") << true << QString("16744678");
    QTest::newRow("0.3 rounds down") << QByteArray("0.3") << true << QString("16744524");
}

void TestReader::badColourFailsAtItsLine() {
    QFETCH(QByteArray, colour);
    QFETCH(bool, valid);
    QFETCH(QString, colourCell);
    TestEditor t;
    t.editor.panels.Image1Click(); // the back-corner library in force
    const bool ok = read(t, crlf({"#head", Background, piece("1 1 1"), piece("2 2 2"),
                                  piece("3 3 3", "koule", colour + " 0.5 1"), piece("4 4 4")}));
    QCOMPARE(ok, valid);
    if (valid) {
        QCOMPARE(t.s.SGDilky.rowCount(), 5);
        QCOMPARE(t.cell(PieceTable::ColourColumn, 3), colourCell);
        QCOMPARE(t.cell(PieceTable::RedColumn, 3), QString::fromLatin1(colour));
        return;
    }
    QCOMPARE(t.s.SGDilky.rowCount(), 1); // nothing of the file was taken over
    QCOMPARE(t.s.prototyp, t.s.zalohan); // the library chosen stays in force
}

void TestReader::withoutBackgroundNothingChanges_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("only pieces") << crlf({"#VRML V2.0 utf8", piece("2 2 2")});
    QTest::newRow("other case") << crlf({"background { }", piece("2 2 2")});
    QTest::newRow("split word") << crlf({"Back", "ground {}", piece("2 2 2")});
}

void TestReader::withoutBackgroundNothingChanges() {
    QFETCH(QByteArray, bytes);
    TestEditor t;
    t.editor.editing.PridejClick();
    t.editor.panels.Image1Click();
    const QStringList before = cells(t, 1);
    QVERIFY(!read(t, bytes));
    QCOMPARE(t.s.SGDilky.rowCount(), 2);
    QCOMPARE(cells(t, 1), before);
    QCOMPARE(t.s.prototyp, t.s.zalohan);
}

void TestReader::backgroundIsTakenOver_data() {
    QTest::addColumn<QByteArrayList>("block");
    QTest::addColumn<Colour>("background");
    const Colour kept = rgb(9, 9, 9);
    QTest::newRow("written") << QByteArrayList{"Background { skyColor  0.20 0.40 0.60}"}
                             << MakeColor(0.2, 0.4, 0.6);
    QTest::newRow("spread") << QByteArrayList{"Background {", "skyColor 0 .5 1 ", "}"}
                            << rgb(0, 128, 255);
    QTest::newRow("two numbers") << QByteArrayList{"Background { skyColor 0.5 0.5 }"} << kept;
    QTest::newRow("four numbers") << QByteArrayList{"Background { skyColor 1 1 1 1 }"} << kept;
    QTest::newRow("not a number") << QByteArrayList{"Background { skyColor 1.2.3 0 0 }"} << kept;
    QTest::newRow("none") << QByteArrayList{"Background { }"} << kept;
}

void TestReader::backgroundIsTakenOver() {
    QFETCH(QByteArrayList, block);
    QFETCH(Colour, background);
    TestEditor t;
    t.s.Shape2 = rgb(9, 9, 9);
    QVERIFY(read(t, crlf(QByteArrayList{"#head"} + block + QByteArrayList{piece("2 2 2")})));
    QCOMPARE(t.s.Shape2, background);
}

void TestReader::escapedShapeNames_data() {
    QTest::addColumn<QByteArray>("tvar");
    QTest::addColumn<QString>("cell");
    QTest::newRow("plain") << QByteArray("Krychle") << QString("Krychle");
    QTest::newRow("quote") << QByteArray(R"(a\"b)") << QString(R"(a"b)");
    QTest::newRow("backslash") << QByteArray(R"(a\\b)") << QString(R"(a\b)");
}

// A shape name outside the seven is written as a VRML string and read back as it was.
void TestReader::escapedShapeNames() {
    QFETCH(QByteArray, tvar);
    QFETCH(QString, cell);
    TestEditor t;
    QVERIFY(read(t, crlf({Background, piece("1 2 3", tvar, "0.5 0.5 0.5", "1")})));
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 1), cell);
    QCOMPARE(t.cell(PieceTable::RedColumn, 1), QString("0.5"));
    QCOMPARE(t.cell(PieceTable::ControlsColumn, 1), t.s.texts.NoText);
    ComposeScene(t.s);
    const QStringList written = cells(t, 1);
    QVERIFY(read(t, t.s.Final));
    QCOMPARE(cells(t, 1), written);
}

void TestReader::oddBytesAndLineEnds() {
    TestEditor t;
    // CR alone ends lines too.
    QVERIFY(read(t, "#VRML\rBackground {}\r" + piece("2 3 4") + "\r\r"));
    QCOMPARE(t.s.prototyp, QByteArrayList{"#VRML"});
    QCOMPARE(t.cell(PieceTable::RzColumn, 1), QString("4"));

    // CR-only file without any text: no Background.
    QVERIFY(!read(t, QByteArray(1000, '\r')));

    // NUL bytes are ordinary bytes.
    const QByteArray nulHead = "\0#\0"_ba;
    const QByteArray nulPiece = "Dilek\0 { velikost 5 6 7 }\0"_ba;
    QVERIFY(read(t, nulHead + "\n" + Background + "\n" + nulPiece + "\n"));
    QCOMPARE(t.s.prototyp, QByteArrayList{nulHead});
    QCOMPARE(t.cell(PieceTable::RyColumn, 1), QString("6"));

    // A thousand background lines: the first one counts, the block ends at its brace.
    QByteArrayList many(1000, Background);
    many.prepend("#head");
    many.append(piece("8 8 8"));
    QVERIFY(read(t, crlf(many)));
    QCOMPARE(t.s.prototyp, QByteArrayList{"#head"});
    QCOMPARE(t.s.SGDilky.rowCount(), 2);
}

void TestReader::headIsWrittenBackByteForByte() {
    QByteArray head = "#VRML V2.0 utf8\r\n\r\n# \x8a\xe9\x9e\xed \x81\x83\x88\x90\x98\xff\r\n";
    head += "\t\0 trailing blanks and a NUL  \r\n"_ba;
    head += QByteArray("DEF x Dilek { velikost 1 2 3 }\r\n");
    TestEditor t;
    QVERIFY(read(t, head + Background + "\r\n" + piece("2 2 2") + "\r\n"));
    const QByteArray composed = composeScene(
        {t.s.prototyp, t.s.Shape2, t.s.SGDilky, t.s.texts, t.s.AxisOrder, t.s.CBSkryt});
    QVERIFY(composed.startsWith(head));
    QCOMPARE(composed.mid(head.size()), Background + "\r\n" + piece("2 2 2") + "\r\n");
}

void TestReader::survivesHostileInput() {
    TestEditor t;
    // A 50 MB piece line of number characters: one size cell holds it all.
    QByteArray huge = "Dilek " + QByteArray(50 * 1024 * 1024, '9');
    QVERIFY(read(t, Background + "\n" + huge));
    QCOMPARE(t.cell(PieceTable::RxColumn, 1).size(), 50 * 1024 * 1024);
    huge.clear();
    t.s.SGDilky.removePieces();

    // Random bytes: whatever happens, the head that stays is the file's own lines.
    QRandomGenerator random(20261208);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(random.bounded(4000), Qt::Uninitialized);
        for (char& c : bytes)
            c = char(random.bounded(256));
        if (round % 2)
            bytes.insert(random.bounded(int(bytes.size()) + 1), "\nBackground }\nDilek 1 \"");
        const QByteArrayList before = t.s.prototyp;
        if (!read(t, bytes)) {
            QCOMPARE(t.s.prototyp, before);
        } else {
            const QByteArrayList lines = splitLinesCopy(bytes);
            QCOMPARE(t.s.prototyp, lines.first(t.s.prototyp.size()));
            QVERIFY(lines.value(t.s.prototyp.size()).contains("Background"));
        }
        for (int r = 1; r < t.s.SGDilky.rowCount(); ++r)
            QVERIFY(!t.cell(PieceTable::ShapeColumn, r).isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestReader)
#include "tst_reader.moc"
