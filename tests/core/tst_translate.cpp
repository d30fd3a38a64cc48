#include "TestEditor.h"
#include "app/Translate.h"
#include "scene/EditorState.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace modulino;

namespace {

constexpr int LineCount = 72;
constexpr int ShippedLineCount = 99; // with the captions and messages after line 72
const QString CrLf = QStringLiteral("\r\n");

// The captions of lines 30 to 72 in file order: alphabetical by control name, the window first.
QStringList captionsInFileOrder(const EditorState& s) {
    const Captions& c = s.captions;
    const QStringList& items = s.Tvar.items;
    return {c.Modulino,      c.bezvoleb,     c.CBovl,           c.CBSkryt,      c.Del,
            c.Dlekmodulino1, s.jmeno,        c.Konec1,          c.Label1,       c.Label10,
            c.Label11,       c.Label12,      c.Label13,         c.Label14,      c.Label24,
            c.Label3,        c.Label4,       c.Label5,          c.Label6,       c.Label7,
            c.Label8,        c.Label9,       c.Nahled,          c.Nast1,        c.Nov1,
            c.Npovda1,       c.Pidat1,       c.Preview1,        c.Pridej,       c.Scna1,
            c.Smazat1,       items.value(0), items.value(1),    items.value(2), items.value(3),
            items.value(4),  items.value(5), items.value(6),    c.Uloit1,       c.Uloitjako1,
            c.volby,         c.Zobrazit1,    c.Zobrazituloenou1};
}

QStringList editMenuCaptions(const EditorState& s) {
    return {s.captions.Upravy1, s.captions.Zpet1, s.captions.Znovu1, s.captions.Duplikovat1};
}

// What each of the 72 lines became in the state; line 27 has no target and reads empty. A warning
// that does not start with line 19 and CR LF shows up as a mismatch.
QStringList translatedLines(const EditorState& s) {
    const auto& t = s.texts;
    QStringList lines(t.MessageTexts.begin(), t.MessageTexts.end());
    const QString head = t.ShapeTexts[6] + CrLf;
    for (int i = 0; i < 6; ++i) {
        const QString& warning = t.ShapeTexts[i];
        lines << (warning.startsWith(head) ? warning.mid(head.size())
                                           : QStringLiteral("<no head> ") + warning);
    }
    lines << QStringList(t.ShapeTexts.begin() + 6, t.ShapeTexts.end());
    lines << QString() << t.YesText << t.NoText << captionsInFileOrder(s);
    return lines;
}

void compareLines(const EditorState& s, const QStringList& expected) {
    const QStringList actual = translatedLines(s);
    QCOMPARE(actual.size(), LineCount);
    for (int i = 0; i < LineCount; ++i)
        QVERIFY2(actual[i] == expected.value(i),
                 qPrintable(QStringLiteral("line %1: \"%2\", expected \"%3\"")
                                .arg(i + 1)
                                .arg(actual[i], expected.value(i))));
    QCOMPARE(s.Tvar.text, s.Tvar.items.value(0));
}

QStringList numberedLines(int count) {
    QStringList lines;
    for (int n = 1; n <= count; ++n)
        lines << QStringLiteral("L%1").arg(n);
    return lines;
}

QByteArray fileBytes(const QStringList& lines, const char* lineEnd = "\r\n") {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + lineEnd;
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString shippedFile(const char* language) {
    return QStringLiteral(MODULINO_SOURCE_DIR "/lang/%1/lang.txt").arg(QLatin1String(language));
}

} // namespace

class TstTranslate : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString langFile() const { return folder.filePath(QStringLiteral("lang.txt")); }

    // Translates the state from the given bytes; the state is given unsaved changes and one
    // piece first, so that a change to them shows.
    void translate(EditorState& s, const QByteArray& bytes) {
        writeFile(langFile(), bytes);
        s.SceneSaved = false;
        s.SGDilky.appendRow(PieceRow{});
        QCOMPARE(Translate(s, langFile()), QString());
    }

    // The data row's file gives its texts as the first entries of MessageTexts.
    void firstTextsAreRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, first);
        EditorState s;
        translate(s, bytes);
        for (int i = 0; i < first.size(); ++i)
            QCOMPARE(s.texts.MessageTexts[i], first[i]);
    }

private slots:
    void lineCounts_data() {
        QTest::addColumn<int>("count");
        for (int count : {0, 19, 29, 72, 80})
            QTest::addRow("%d lines", count) << count;
    }

    void lineCounts() {
        QFETCH(int, count);
        EditorState s;
        translate(s, fileBytes(numberedLines(count)));

        QStringList expected = numberedLines(qMin(count, LineCount));
        if (count >= 27)
            expected[26].clear(); // line 27 replaces nothing
        compareLines(s, expected);
        QCOMPARE(s.SceneSaved, false);
        QCOMPARE(s.SGDilky.rowCount(), 2);
    }

    void emptyFileLeavesBareWarnings() {
        EditorState s;
        translate(s, QByteArray());
        for (int i = 0; i < 6; ++i)
            QCOMPARE(s.texts.ShapeTexts[i], CrLf);
        QCOMPARE(s.captions.Modulino, QString());
        QCOMPARE(s.Tvar.items.size(), 7);
    }

    void lineEnds_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("first");

        const QStringList abc = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        QTest::newRow("LF") << QByteArray("a\nb\nc\n") << abc;
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\nc\r\n") << abc;
        QTest::newRow("no end on the last line") << QByteArray("a\r\nb\nc") << abc;
        QTest::newRow("lone CR dropped")
            << QByteArray("a\rx\r\n\rb\nc\r") << QStringList{"ax", "b", "c"};
        QTest::newRow("Ctrl+Z ends the file")
            << QByteArray("a\r\nb\x1a\r\nc\r\n") << QStringList{"a", "b", "", ""};
        QTest::newRow("blanks kept")
            << QByteArray("  a \r\n\tb\r\n \r\n") << QStringList{"  a ", "\tb", " "};
        QTest::newRow("empty lines") << QByteArray("\n\r\nc\n") << QStringList{"", "", "c"};
    }

    void lineEnds() { firstTextsAreRead(); }

    void lineTwentySevenIgnored() {
        QStringList lines = numberedLines(LineCount);
        lines[26] = QStringLiteral("ANO");
        EditorState s;
        translate(s, fileBytes(lines));
        QCOMPARE(s.texts.YesText, QStringLiteral("L28"));
        QVERIFY(!translatedLines(s).contains(QStringLiteral("ANO")));
    }

    void encodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("first");

        const QString text = QStringLiteral("Přidat dílek – žluťoučký kůň");
        QTest::newRow("UTF-8") << (text.toUtf8() + "\r\nx") << QStringList{text, "x"};
        QTest::newRow("UTF-8 with BOM")
            << ("\xEF\xBB\xBF" + text.toUtf8() + "\r\n") << QStringList{text};
        QTest::newRow("Windows-1250")
            << QByteArray("P\xF8idat d\xEDlek \x96 \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n")
            << QStringList{text};
        QTest::newRow("Windows-1250 after a line that is valid UTF-8")
            << QByteArray("\xC5\xBE\r\nk\xF9\xF2\r\n") << QStringList{"Ĺľ", "kůň"};
        QTest::newRow("Windows-1250 ending in a UTF-8 lead byte")
            << QByteArray("Nov\xE1") << QStringList{"Nová"};
        QTest::newRow("ASCII") << QByteArray("Add a piece") << QStringList{"Add a piece"};
    }

    void encodings() { firstTextsAreRead(); }

    void unreadableFileKeepsTexts() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("lang.txt"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("lang.txt")));
        EditorState s;
        const QString error = Translate(s, path);
        QVERIFY(error.contains(path));
        QCOMPARE(s.texts.MessageTexts, TextTables::builtIn().MessageTexts);
        QCOMPARE(s.texts.ShapeTexts, TextTables::builtIn().ShapeTexts);
        QCOMPARE(s.captions.Modulino, QStringLiteral("Modulino"));
        QCOMPARE(s.jmeno, QStringLiteral("Beze jména"));
        QCOMPARE(s.Tvar.items, builtInShapeItems());
    }

    void startUpShowsTheFilesTexts() {
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("lang.txt")), fileBytes(numberedLines(LineCount)));
        TestEditor t(dir.path());
        QVERIFY(t.dialogs.errors.isEmpty());
        QCOMPARE(t.cell(0, 0), QStringLiteral("L1"));
        QCOMPARE(t.cell(1, 0), QStringLiteral("L2"));
        QCOMPARE(t.cell(2, 0), QStringLiteral("rx"));
        QCOMPARE(t.cell(8, 0), QStringLiteral("L28 / L29"));
        QCOMPARE(t.s.captions.Modulino, QStringLiteral("L30"));
        QCOMPARE(t.s.jmeno, QStringLiteral("L36"));
        QCOMPARE(t.s.Tvar.text, QStringLiteral("L61"));
    }

    void startUpReportsAnUnreadableFile() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("lang.txt")));
        TestEditor t(dir.path());
        QCOMPARE(t.dialogs.errors.size(), 1);
        QCOMPARE(t.cell(0, 0), QStringLiteral("barva"));
        QCOMPARE(t.cell(8, 0), QStringLiteral("ANO / NE"));
    }

    void shippedFiles_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("cs") << shippedFile("cs");
        QTest::newRow("en") << shippedFile("en");
    }

    void shippedFiles() {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("\r\n"), ShippedLineCount);
        QCOMPARE(bytes.count('\n'), ShippedLineCount);
        QVERIFY(bytes.endsWith("\r\n"));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        (void)utf8.decode(bytes);
        QVERIFY(!utf8.hasError());

        EditorState s;
        QCOMPARE(Translate(s, path), QString());
        QCOMPARE(s.jmeno, s.texts.MessageTexts[3]);
        QCOMPARE(QStringList(s.texts.ShapeTexts.begin() + 7, s.texts.ShapeTexts.end()),
                 s.Tvar.items);
        for (const QString& caption : captionsInFileOrder(s) + editMenuCaptions(s))
            QVERIFY(!caption.trimmed().isEmpty());
        for (const QString& text : translatedLines(s).mid(0, 26))
            QVERIFY(!text.trimmed().isEmpty());
        QVERIFY(!s.texts.YesText.isEmpty() && !s.texts.NoText.isEmpty());
    }

    void czechFileRestoresTheBuiltInTexts() {
        EditorState s;
        QCOMPARE(Translate(s, shippedFile("cs")), QString());
        TextTables expected = TextTables::builtIn();
        // A line cannot hold a line break: the three messages of several lines come in one.
        expected.MessageTexts[2] = QStringLiteral(
            "Akce nahradí aktuální scénu a smaže neuložené změny ve scéně. Pokračovat?");
        expected.MessageTexts[5] =
            QStringLiteral("Soubor nemá požadovaný tvar. Zvolili jste nejspíše scénu jiného typu.");
        expected.MessageTexts[10] = QStringLiteral("Scéna není uložena. Uložit ?");
        expected.ShapeTexts[3] = QStringLiteral("Vlivem změny rozměrů ") + CrLf +
                                 QStringLiteral("je tvar dílku nepravidelný jehlan.");
        expected.ShapeTexts[6] = QStringLiteral("Vlivem změny rozměrů ");

        QVERIFY(s.captions == Captions());
        QVERIFY(s.texts.notices == Notices());
        QCOMPARE(s.texts.MessageTexts, expected.MessageTexts);
        QCOMPARE(s.texts.ShapeTexts, expected.ShapeTexts);
        QCOMPARE(s.texts.YesText, expected.YesText);
        QCOMPARE(s.texts.NoText, expected.NoText);
        QCOMPARE(captionsInFileOrder(s), captionsInFileOrder(EditorState()));
        QCOMPARE(editMenuCaptions(s), editMenuCaptions(EditorState()));
    }

    // Lines 73 to 75 name the menu "Úpravy" and its items, line 76 "Duplikovat"; without them the
    // built-in texts stay.
    void editMenuLines_data() {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QStringList>("captions");
        const QStringList builtIn = {"Úpravy", "Zpět", "Znovu", "Duplikovat"};
        QTest::newRow("72 lines") << QStringList() << builtIn;
        QTest::newRow("76 lines") << QStringList{"Edit", "Undo", "Redo", "Duplicate"}
                                  << QStringList{"Edit", "Undo", "Redo", "Duplicate"};
        QTest::newRow("75 lines") << QStringList{"Edit", "Undo", "Redo"}
                                  << QStringList{"Edit", "Undo", "Redo", "Duplikovat"};
        QTest::newRow("74 lines") << QStringList{"Edit", "Undo"}
                                  << QStringList{"Edit", "Undo", "Znovu", "Duplikovat"};
        QTest::newRow("empty line 73") << QStringList{"", "Undo", "Redo"}
                                       << QStringList{"Úpravy", "Undo", "Redo", "Duplikovat"};
    }

    void editMenuLines() {
        QFETCH(QStringList, extra);
        QFETCH(QStringList, captions);
        EditorState s;
        translate(s, fileBytes(numberedLines(LineCount) + extra));
        QCOMPARE(editMenuCaptions(s), captions);
        QCOMPARE(s.captions.Zobrazituloenou1, QStringLiteral("L72"));
    }
};

QTEST_GUILESS_MAIN(TstTranslate)
#include "tst_translate.moc"
