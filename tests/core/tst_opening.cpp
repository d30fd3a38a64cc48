#include "TestEditor.h"
#include "vrml/Libraries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace modulino;

namespace {

const QByteArray Head = "#VRML V2.0 utf8\r\n# own head\r\n";
const QByteArray Background = "Background { skyColor  0.10 0.20 0.30}\r\n";

QByteArray piece(const QByteArray& colour) {
    return "Dilek { velikost 2 3 4 poloha 1 2 3 tvar \"valec\" povrch " + colour +
           " ovltransp 1 }\r\n";
}

QString writeFile(const QString& folder, const QString& name, const QByteArray& bytes) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// What an open that changes nothing must leave as it was.
struct Snapshot {
    explicit Snapshot(const EditorState& s)
        : rows(s.SGDilky.rowCount())
        , prototyp(s.prototyp)
        , fileName(s.fileName)
        , jmeno(s.jmeno)
        , saved(s.SceneSaved)
        , lbBod(s.lbBodVisible)
        , background(s.Shape2) {}
    bool operator==(const Snapshot&) const = default;

    int rows;
    QByteArrayList prototyp;
    QString fileName, jmeno;
    bool saved, lbBod;
    Colour background;
};

} // namespace

class TestOpening : public QObject {
    Q_OBJECT

private slots:
    void savedSceneOpensWithoutAsking();
    void unsavedSceneAsksFirst_data();
    void unsavedSceneAsksFirst();
    void fileThatCannotBeOpened_data();
    void fileThatCannotBeOpened();
    void failedOpenChangesNothing_data();
    void failedOpenChangesNothing();
    void failedOpenKeepsTheLibraryInForce();
    void openingKeepsTheSettingsAndReplacesTheScene();
};

void TestOpening::savedSceneOpensWithoutAsking() {
    TestEditor t;
    const QString path = writeFile(t.folder.path(), "scene.wrl",
                                   Head + Background + piece("0.5 0.5 0.5") + piece("1 0 0"));
    t.dialogs.openAnswers << path;
    t.editor.opening.Nast1Click();

    QCOMPARE(t.dialogs.log, QStringList{"open dialog: " + QDir(t.folder.path()).absolutePath()});
    QCOMPARE(t.s.fileName, path);
    QCOMPARE(t.s.jmeno, path);
    QVERIFY(t.s.SceneSaved);
    QVERIFY(t.s.lbBodVisible);
    QCOMPARE(t.s.prototyp, (QByteArrayList{"#VRML V2.0 utf8", "# own head"}));
    QCOMPARE(t.s.SGDilky.rowCount(), 3);
    QCOMPARE(t.cell(PieceTable::ColourColumn, 2), QString("255"));
    QCOMPARE(t.cell(PieceTable::ShapeColumn, 2), QString("válec"));
    QVERIFY(t.dialogs.allAnswered());
}

void TestOpening::unsavedSceneAsksFirst_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

void TestOpening::unsavedSceneAsksFirst() {
    QFETCH(bool, yes);
    TestEditor t;
    const QString path = writeFile(t.folder.path(), "scene.wrl", Background + piece("1 1 1"));
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    const Snapshot before(t.s);
    t.dialogs.confirmAnswers << yes;
    if (yes)
        t.dialogs.openAnswers << std::optional<QString>(); // cancelled
    t.editor.opening.Nast1Click();

    QCOMPARE(t.dialogs.log.first(), "confirm: " + t.s.texts.MessageTexts[2]);
    QCOMPARE(t.dialogs.log.size(), yes ? 2 : 1);
    QVERIFY(Snapshot(t.s) == before);
    QVERIFY(t.dialogs.allAnswered());

    // Confirmed and chosen: the file replaces the scene.
    t.dialogs.confirmAnswers << true;
    t.dialogs.openAnswers << path;
    t.editor.opening.Nast1Click();
    QCOMPARE(t.s.SGDilky.rowCount(), 2);
    QVERIFY(t.s.SceneSaved);
}

void TestOpening::fileThatCannotBeOpened_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing.wrl"
                             << "No such file";
    QTest::newRow("folder") << "folder.wrl"
                            << "folder";
    QTest::newRow("unreadable") << "locked.wrl"
                                << "Permission denied";
}

void TestOpening::fileThatCannotBeOpened() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    TestEditor t;
    QDir(t.folder.path()).mkdir("folder.wrl");
    const QString locked = writeFile(t.folder.path(), "locked.wrl", Background);
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    if (name == "locked.wrl" && QFile(locked).open(QIODevice::ReadOnly))
        QSKIP("this user reads every file");

    t.editor.editing.PridejClick();
    const Snapshot before(t.s);
    const QString path = QDir(t.folder.path()).filePath(name);
    QCOMPARE(t.editor.opening.openFile(path), SceneOpening::OpenResult::NotReadable);
    QCOMPARE(t.dialogs.errors.size(), 1);
    QVERIFY2(t.dialogs.errors.first().contains(path), qPrintable(t.dialogs.errors.first()));
    QVERIFY2(t.dialogs.errors.first().contains(reason), qPrintable(t.dialogs.errors.first()));
    QVERIFY(t.dialogs.messages.isEmpty());
    QVERIFY(Snapshot(t.s) == before);
}

void TestOpening::failedOpenChangesNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("third piece broken") << Head + Background + piece("1 1 1") + piece("0 0 0") +
                                               piece("1.2.3 0 0") + piece("1 1 1");
    QTest::newRow("no background") << QByteArray("just text\n");
}

// The file is read completely first: a failure leaves the table, the current row, the controls,
// the library, the title, the file name and SceneSaved as they were.
void TestOpening::failedOpenChangesNothing() {
    QFETCH(QByteArray, bytes);
    TestEditor t;
    const QString good = writeFile(t.folder.path(), "good.wrl", Head + Background + piece("1 1 1"));
    const QString bad = writeFile(t.folder.path(), "bad.wrl", bytes);
    QCOMPARE(t.editor.opening.openFile(good), SceneOpening::OpenResult::Opened);
    t.editor.editing.PridejClick();
    t.editor.panels.Image1Click(); // back corner
    t.editor.editing.selectRow(1);
    const Snapshot before(t.s);
    const auto cellsBefore = t.s.SGDilky.row(1).cells;
    const auto controlsBefore = controlsShown(t.s);

    QCOMPARE(t.editor.opening.openFile(bad), SceneOpening::OpenResult::WrongForm);
    QCOMPARE(t.dialogs.messages, QStringList{t.s.texts.MessageTexts[5]});
    QVERIFY(t.dialogs.errors.isEmpty());
    QVERIFY(Snapshot(t.s) == before);
    QCOMPARE(t.s.SGDilky.row(1).cells, cellsBefore);
    QCOMPARE(controlsShown(t.s).CurrentRow, controlsBefore.CurrentRow);
    QCOMPARE(controlsShown(t.s).positions, controlsBefore.positions);
    QCOMPARE(t.s.SGDilky.currentRow(), 1);
    QVERIFY(t.s.history.canUndo()); // the history goes on
}

void TestOpening::failedOpenKeepsTheLibraryInForce() {
    QTemporaryDir folder;
    writeFile(folder.path(), "proto.wrl", "#VRML V2.0 utf8\n# my prototypes\n");
    TestEditor t(folder.path());
    const QString bad = writeFile(folder.path(), "bad.wrl", Head + piece("1 1 1"));
    t.editor.panels.Image1Click();
    QCOMPARE(t.editor.opening.openFile(bad), SceneOpening::OpenResult::WrongForm);
    QCOMPARE(t.s.prototyp, t.s.zalohan);
}

void TestOpening::openingKeepsTheSettingsAndReplacesTheScene() {
    TestEditor t;
    const QString path =
        writeFile(t.folder.path(), "scene.wrl", Head + Background + piece("0.2 0.4 0.6"));
    for (int i = 0; i < 3; ++i)
        t.editor.editing.PridejClick();
    t.editor.panels.Image1Click();
    t.s.AxisOrder = 2;
    t.s.CBSkryt = true;
    t.s.Shape2 = rgb(1, 2, 3);

    QCOMPARE(t.editor.opening.openFile(path), SceneOpening::OpenResult::Opened);
    QCOMPARE(t.s.SGDilky.rowCount(), 2);
    QCOMPARE(t.cell(PieceTable::RxColumn, 1), QString("4")); // yzx: 3rd, 1st, 2nd
    QCOMPARE(t.s.AxisOrder, 2);
    QVERIFY(!t.s.CBSkryt); // the file's pieces carry their own flags
    QVERIFY(t.s.BackCornerMode);
    QCOMPARE(t.s.Shape2, MakeColor(0.1, 0.2, 0.3)); // the file's background
    QVERIFY(t.dialogs.log.isEmpty());
    QVERIFY(!t.s.history.canUndo()); // a fresh history
}

QTEST_GUILESS_MAIN(TestOpening)
#include "tst_opening.moc"
