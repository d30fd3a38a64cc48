#include "TestEditor.h"
#include "vrml/Libraries.h"
#include "vrml/SceneWriter.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace modulino;

namespace {

const QByteArray BackgroundLine = "Background { skyColor  0.80 0.80 1.00}";

QByteArray sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray withCrLf(const QByteArrayList& lines) {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// The composed scene's library part: everything before the background line.
QByteArrayList composedLibrary(EditorState& s) {
    ComposeScene(s);
    QByteArrayList lines = s.Final.split('\n');
    if (lines.size() < 2 || !lines.takeLast().isEmpty() ||
        lines.takeLast() != BackgroundLine + '\r')
        return {"<no background line at the end>"};
    for (QByteArray& line : lines)
        line.chop(1);
    return lines;
}

} // namespace

class TestLibraries : public QObject {
    Q_OBJECT

private slots:
    void dataFilesUnchanged_data();
    void dataFilesUnchanged();
    void composedLibraryBytes();
    void librariesInForce();
    void neverTheWordBackground();
    void protoFileAtStartUp();
};

void TestLibraries::dataFilesUnchanged_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("checksum");
    QTest::addColumn<int>("lines");

    QTest::newRow("front corner")
        << QStringLiteral("front-corner.wrl")
        << QByteArray("16a544a30645385007d2ae2ab8b3b6c7140cbf9a228ab6aead29f1865e0aa1b6") << 263;
    QTest::newRow("back corner")
        << QStringLiteral("back-corner.wrl")
        << QByteArray("8077d8426829b108432790cb565191f5c132887de75faf753307542b60d184fe") << 312;
}

void TestLibraries::dataFilesUnchanged() {
    QFETCH(QString, file);
    QFETCH(QByteArray, checksum);
    QFETCH(int, lines);
    QFile source(QStringLiteral(MODULINO_SOURCE_DIR "/src/core/vrml/libraries/") + file);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    QCOMPARE(sha256(bytes), checksum);
    QCOMPARE(bytes.count('\n'), lines);
}

// What the program carries and writes, whatever the data files became on the way in.
void TestLibraries::composedLibraryBytes() {
    QCOMPARE(frontCornerLibrary().size(), 263);
    QCOMPARE(spareFrontCornerLibrary().size(), 264);
    QCOMPARE(backCornerLibrary().size(), 312);
    QCOMPARE(sha256(withCrLf(frontCornerLibrary())),
             QByteArray("c4aab7a11127ce6981f6e2c9f7b19f12dd6b3a051a9cb1e40d6af59c7639a8d9"));
    QCOMPARE(sha256(withCrLf(spareFrontCornerLibrary())),
             QByteArray("89b2550aec4d223da72794e14570bf8441f6277f7ecd8442f175249751259172"));
    QCOMPARE(sha256(withCrLf(backCornerLibrary())),
             QByteArray("614942adc36b17f3ba1891a9c9e71173df0e913fd247a63b585cbef9648a810d"));
}

// The corner pictures switch between the variants; the spare front copy ends in an empty line.
void TestLibraries::librariesInForce() {
    TestEditor t;
    QCOMPARE(composedLibrary(t.s), frontCornerLibrary());
    t.editor.panels.Image1Click();
    QCOMPARE(composedLibrary(t.s), backCornerLibrary());
    t.editor.panels.Image2Click();
    QCOMPARE(composedLibrary(t.s), spareFrontCornerLibrary());
    QCOMPARE(composedLibrary(t.s).last(), QByteArray());
}

void TestLibraries::neverTheWordBackground() {
    for (const QByteArrayList& library : {frontCornerLibrary(), backCornerLibrary()}) {
        QCOMPARE(library.first(), QByteArray("#VRML V2.0 utf8"));
        for (const QByteArray& line : library) {
            QVERIFY2(!line.contains("Background"), line.constData());
            for (char c : line)
                QVERIFY2(c == '\t' || (c >= ' ' && c <= '~'), line.constData());
        }
    }
}

// "proto.wrl" in the working directory replaces the front-corner library, line by line as read.
void TestLibraries::protoFileAtStartUp() {
    QTemporaryDir folder;
    QFile proto(folder.filePath(QStringLiteral("proto.wrl")));
    QVERIFY(proto.open(QIODevice::WriteOnly));
    const QByteArray longLine = "#" + QByteArray(5000, 'x');
    proto.write("#VRML V2.0 utf8\r\n\tPROTO Dilek [ ] { }\n" + longLine + "\rlast");
    proto.close();

    TestEditor t(folder.path());
    const QByteArrayList read = {"#VRML V2.0 utf8", "\tPROTO Dilek [ ] { }", longLine, "last"};
    QCOMPARE(t.s.prototyp, read);
    QCOMPARE(t.s.zaloha, read);
    QCOMPARE(t.s.zalohan, backCornerLibrary());

    QByteArrayList composed = read;
    composed[2].truncate(LibraryLineLimit);
    QCOMPARE(composedLibrary(t.s), composed);

    t.editor.panels.Image1Click();
    QCOMPARE(composedLibrary(t.s), backCornerLibrary());
    t.dialogs.confirmAnswers << true;
    t.editor.lifecycle.Nov1Click();
    QCOMPARE(composedLibrary(t.s), backCornerLibrary());
    t.editor.panels.Image2Click();
    QCOMPARE(composedLibrary(t.s), composed);
    t.s.prototyp = {"head of an opened file"};
    t.dialogs.confirmAnswers << true;
    t.editor.lifecycle.Nov1Click();
    QCOMPARE(composedLibrary(t.s), composed);
    QVERIFY(t.dialogs.allAnswered());
}

QTEST_GUILESS_MAIN(TestLibraries)
#include "tst_libraries.moc"
