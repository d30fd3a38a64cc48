#include "Editor.h"
#include "ScriptedDialogs.h"
#include "TestEditor.h"
#include "vrml/SceneWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace modulino;

namespace {

using Answer = UserDialogs::Answer;

// Tells No from a box closed without an answer, as the window does.
class ClosableDialogs : public ScriptedDialogs {
public:
    QQueue<Answer> yesNoAnswers;

    Answer confirmYesNo(const QString& text) override {
        log << QStringLiteral("confirm2: ") + text;
        if (yesNoAnswers.isEmpty()) {
            ++unexpected;
            return Answer::Cancel;
        }
        return yesNoAnswers.dequeue();
    }
};

struct Fixture {
    QTemporaryDir folder;
    ClosableDialogs dialogs;
    Editor editor{dialogs};
    EditorState& s = editor.state;

    Fixture() {
        editor.FormCreate(folder.path());
        QDir(folder.path()).mkdir(QStringLiteral("proto"));
    }
    QString path(const QString& name) const {
        return name.isEmpty() ? name : folder.filePath(name);
    }
    // Every file but the mark of the file open in the editor.
    QStringList files() const {
        QStringList names = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        names.removeIf([](const QString& name) { return name.endsWith(".modulino-lock"); });
        return names;
    }
};

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestLifecycle : public QObject {
    Q_OBJECT

private slots:
    void closeQuery_data();
    void closeQuery();
    void closeQueryWithPlainYesNoBox();
    void newScene_data();
    void newScene();
    void newSceneOnTheBackCorner();
    void formCloseDeletesThePreviewFile();
    void formCloseGivesBackTheLocale();
    void previewTouchesOnlyItsOwnFile_data();
    void previewTouchesOnlyItsOwnFile();
    void twoEditorsInOneFolder();
    void danglingLinkAtStartCountsAsTaken();
};

void TestLifecycle::closeQuery_data() {
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("named");
    QTest::addColumn<bool>("quit");
    QTest::addColumn<int>("save");       // answer to "save?"; -1 not asked
    QTest::addColumn<int>("overwrite");  // answer to the replace question; -1 not asked
    QTest::addColumn<QString>("dialog"); // the save dialog: "" not shown, "-" cancelled
    QTest::addColumn<bool>("canClose");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("shown"); // "7" refused as the prototype file, "error" a failed write
    QTest::addColumn<QString>("fileNameAfter");

    const int yes = int(Answer::Yes), no = int(Answer::No), cancel = int(Answer::Cancel);
    // clang-format off
    QTest::newRow("saved, quit")
        << true  << "a.wrl"         << true  << -1     << -1     << ""              << true  << ""      << ""      << "a.wrl";
    QTest::newRow("saved, stay")
        << true  << ""              << false << -1     << -1     << ""              << false << ""      << ""      << "";
    QTest::newRow("unsaved, stay")
        << false << ""              << false << -1     << -1     << ""              << false << ""      << ""      << "";
    QTest::newRow("unsaved, do not save")
        << false << "a.wrl"         << true  << no     << -1     << ""              << true  << ""      << ""      << "a.wrl";
    QTest::newRow("unsaved, save box closed")
        << false << "a.wrl"         << true  << cancel << -1     << ""              << false << ""      << ""      << "a.wrl";
    QTest::newRow("named, replace")
        << false << "a.wrl"         << true  << yes    << yes    << ""              << true  << "a.wrl" << ""      << "a.wrl";
    QTest::newRow("named, do not replace")
        << false << "a.wrl"         << true  << yes    << no     << ""              << false << ""      << ""      << "a.wrl";
    QTest::newRow("named, cancel")
        << false << "a.wrl"         << true  << yes    << cancel << ""              << false << ""      << ""      << "a.wrl";
    QTest::newRow("named in a proto folder")
        << false << "proto/a.wrl"   << true  << yes    << yes    << ""              << false << ""      << "7"     << "proto/a.wrl";
    QTest::newRow("named, missing folder")
        << false << "missing/a.wrl" << true  << yes    << yes    << ""              << false << ""      << "error" << "missing/a.wrl";
    QTest::newRow("unnamed, saved")
        << false << ""              << true  << yes    << -1     << "b.wrl"         << true  << "b.wrl" << ""      << "b.wrl";
    QTest::newRow("unnamed, dialog cancelled")
        << false << ""              << true  << yes    << -1     << "-"             << false << ""      << ""      << "";
    QTest::newRow("unnamed, proto")
        << false << ""              << true  << yes    << -1     << "proto.wrl"     << false << ""      << "7"     << "proto.wrl";
    QTest::newRow("unnamed, missing folder")
        << false << ""              << true  << yes    << -1     << "missing/b.wrl" << false << ""      << "error" << "";
    // clang-format on
}

void TestLifecycle::closeQuery() {
    QFETCH(bool, saved);
    QFETCH(QString, named);
    QFETCH(bool, quit);
    QFETCH(int, save);
    QFETCH(int, overwrite);
    QFETCH(QString, dialog);
    QFETCH(bool, canClose);
    QFETCH(QString, written);
    QFETCH(QString, shown);
    QFETCH(QString, fileNameAfter);

    Fixture f;
    if (!saved)
        f.editor.editing.PridejClick();
    if (!named.isEmpty())
        f.s.jmeno = f.s.fileName = f.path(named);
    const QString titleBefore = f.s.jmeno;
    f.dialogs.confirmAnswers << quit;
    if (save >= 0)
        f.dialogs.yesNoAnswers << Answer(save);
    if (overwrite >= 0)
        f.dialogs.threeButtonAnswers << Answer(overwrite);
    if (dialog == QLatin1String("-"))
        f.dialogs.saveAnswers << std::nullopt;
    else if (!dialog.isEmpty())
        f.dialogs.saveAnswers << f.path(dialog);

    QCOMPARE(f.editor.lifecycle.FormCloseQuery(), canClose);

    QVERIFY(f.dialogs.allAnswered());
    QCOMPARE(f.dialogs.log.first(), QStringLiteral("confirm:  Ukončit program ?"));
    if (save >= 0)
        QCOMPARE(f.dialogs.log.at(1), QStringLiteral("confirm2: Scéna není uložena.\r\n Uložit ?"));
    if (overwrite >= 0)
        QCOMPARE(f.dialogs.log.at(2),
                 "confirm3: Chcete nahradit existující soubor\r\n" + f.path(named) + " ?");
    QCOMPARE(f.dialogs.messages,
             shown == QLatin1String("7") ? QStringList{f.s.texts.MessageTexts[7]} : QStringList());
    QCOMPARE(f.dialogs.errors.size(), shown == QLatin1String("error") ? 1 : 0);

    QCOMPARE(f.files(), written.isEmpty() ? QStringList() : QStringList{written});
    if (!written.isEmpty()) {
        QCOMPARE(contents(f.path(written)), f.s.Final);
        QVERIFY(f.s.Final.endsWith(" ovltransp 0 }\r\n"));
        QVERIFY(f.s.SceneSaved);
        QCOMPARE(f.s.jmeno, f.path(written));
    } else {
        QCOMPARE(f.s.SceneSaved, saved);
        QCOMPARE(f.s.jmeno, titleBefore);
    }
    QCOMPARE(f.s.fileName, f.path(fileNameAfter));
}

// A window whose Yes/No box cannot be closed without an answer: not Yes is No and closes.
void TestLifecycle::closeQueryWithPlainYesNoBox() {
    TestEditor t;
    t.editor.editing.PridejClick();
    t.dialogs.confirmAnswers << true << false;
    QVERIFY(t.editor.lifecycle.FormCloseQuery());
    QCOMPARE(t.dialogs.log.size(), 2);
    QVERIFY(t.dialogs.allAnswered());
}

void TestLifecycle::newScene_data() {
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QList<bool>>("confirms");
    QTest::addColumn<bool>("cleared");

    QTest::newRow("saved") << true << QList<bool>{} << true;
    QTest::newRow("unsaved, Yes") << false << QList<bool>{true} << true;
    QTest::newRow("unsaved, not Yes") << false << QList<bool>{false} << false;
}

void TestLifecycle::newScene() {
    QFETCH(bool, saved);
    QFETCH(QList<bool>, confirms);
    QFETCH(bool, cleared);

    TestEditor t;
    EditorState& s = t.s;
    t.editor.editing.PridejClick();
    t.editor.editing.PridejClick();
    t.editor.editing.pressUpDown(UpDownId::UDx, +1);
    t.dialogs.colourAnswers << rgb(1, 2, 3) << rgb(4, 5, 6);
    t.editor.editing.Shape1MouseDown();
    t.editor.editing.Shape2MouseDown();
    t.editor.panels.ImXYZClick(2);
    s.CBSkryt = true;
    s.prototyp = {"head of an opened file"};
    s.jmeno = s.fileName = t.folder.filePath(QStringLiteral("a.wrl"));
    s.lbBodVisible = true;
    s.SceneSaved = saved;
    const int currentRow = s.CurrentRow;
    const auto upDowns = s.upDowns;
    t.dialogs.confirmAnswers.append(confirms);

    t.editor.lifecycle.Nov1Click();

    QVERIFY(t.dialogs.allAnswered());
    if (!confirms.isEmpty())
        QCOMPARE(t.dialogs.log.last(), "confirm: " + s.texts.MessageTexts[2]);
    if (cleared) {
        QCOMPARE(s.SGDilky.rowCount(), 1);
        QVERIFY(!s.SGDilky.headerFixed());
        QCOMPARE(s.Shape2, DefaultBackground);
        QCOMPARE(s.Shape1, White);
        QCOMPARE(s.prototyp, s.zaloha);
        QCOMPARE(s.jmeno, s.texts.MessageTexts[3]);
        QVERIFY(s.fileName.isEmpty());
        QVERIFY(s.SceneSaved);
    } else {
        QCOMPARE(s.SGDilky.rowCount(), 3);
        QCOMPARE(s.Shape2, rgb(4, 5, 6));
        QCOMPARE(s.prototyp, QByteArrayList{"head of an opened file"});
        QVERIFY(!s.SceneSaved);
    }
    // What a new scene leaves alone.
    QCOMPARE(s.CurrentRow, currentRow);
    QCOMPARE(s.AxisOrder, 2);
    QVERIFY(s.CBSkryt);
    QVERIFY(s.lbBodVisible);
    for (std::size_t i = 0; i < upDowns.size(); ++i)
        QCOMPARE(s.upDowns[i].position, upDowns[i].position);
}

void TestLifecycle::newSceneOnTheBackCorner() {
    TestEditor t;
    t.editor.panels.Image1Click();
    t.s.prototyp = {"head of an opened file"};
    t.dialogs.confirmAnswers << true;
    t.editor.lifecycle.Nov1Click();
    QCOMPARE(t.s.prototyp, t.s.zalohan);
    QVERIFY(t.dialogs.allAnswered());
}

void TestLifecycle::formCloseDeletesThePreviewFile() {
    TestEditor t;
    QFile other(t.folder.filePath(QStringLiteral("~prev0.wrl")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();

    t.editor.lifecycle.FormClose(); // no preview yet: nothing to delete
    QCOMPARE(QDir(t.folder.path()).entryList(QDir::Files), QStringList{"~prev0.wrl"});

    t.editor.commands.NahledClick();
    QVERIFY(QFile::exists(t.s.PreviewFileName));
    t.editor.lifecycle.FormClose();
    QVERIFY(!QFile::exists(t.s.PreviewFileName));
    QCOMPARE(QDir(t.folder.path()).entryList(QDir::Files), QStringList{"~prev0.wrl"});
}

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

} // namespace

void TestLifecycle::previewTouchesOnlyItsOwnFile_data() {
    QTest::addColumn<QString>("intruder");
    QTest::newRow("scene saved there") << "saved";
    QTest::newRow("scene written over in place") << "in place";
    QTest::newRow("link") << "link";
    QTest::newRow("dangling link") << "dangling";
}

// After the first preview something else takes ~prev00.wrl: the next preview moves on to the next
// free name, and the close deletes only that one.
void TestLifecycle::previewTouchesOnlyItsOwnFile() {
    QFETCH(QString, intruder);
    TestEditor t;
    const QDir dir(t.folder.path());
    const QString first = dir.filePath("~prev00.wrl");
    const QString target = dir.filePath("target.wrl");
    writeBytes(target, "target");
    t.editor.commands.NahledClick();
    QCOMPARE(t.s.PreviewFileName, first);

    if (intruder == "saved") {
        t.dialogs.saveAnswers << first;
        t.editor.commands.Uloitjako1Click();
    } else if (intruder == "in place") {
        QFile file(first);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QTest::qWait(5); // a modification time of its own
        file.write("user's scene");
    } else {
        QFile::remove(first);
        QVERIFY(QFile::link(intruder == "link" ? target : dir.filePath("nowhere.wrl"), first));
    }
    const QByteArray theirs = contents(first);

    t.editor.commands.NahledClick();
    QCOMPARE(t.s.PreviewFileName, dir.filePath("~prev0.wrl"));
    QCOMPARE(contents(t.s.PreviewFileName), t.s.Final);
    t.editor.lifecycle.FormClose();
    QVERIFY(!QFileInfo::exists(t.s.PreviewFileName));
    QCOMPARE(contents(first), theirs);
    QCOMPARE(contents(target), QByteArray("target"));
    QVERIFY(!QFileInfo::exists(dir.filePath("nowhere.wrl")));
    QVERIFY(QFileInfo(first).isSymLink() || QFileInfo(first).isFile());
}

// Two editors started in one folder chose the same name; neither touches the other's preview.
void TestLifecycle::twoEditorsInOneFolder() {
    QTemporaryDir folder;
    TestEditor a(folder.path()), b(folder.path());
    QCOMPARE(a.s.PreviewFileName, b.s.PreviewFileName);
    a.editor.editing.PridejClick();
    a.editor.commands.NahledClick();
    b.editor.commands.NahledClick();
    QVERIFY(a.s.PreviewFileName != b.s.PreviewFileName);
    a.editor.commands.NahledClick(); // a's own file again
    QCOMPARE(contents(a.s.PreviewFileName), a.s.Final);
    QCOMPARE(contents(b.s.PreviewFileName), b.s.Final);

    a.editor.lifecycle.FormClose();
    QVERIFY(!QFileInfo::exists(a.s.PreviewFileName));
    QCOMPARE(contents(b.s.PreviewFileName), b.s.Final);
    b.editor.lifecycle.FormClose();
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::System), QStringList());
}

void TestLifecycle::danglingLinkAtStartCountsAsTaken() {
    QTemporaryDir folder;
    const QString link = QDir(folder.path()).filePath("~prev00.wrl");
    QVERIFY(QFile::link(QDir(folder.path()).filePath("elsewhere.wrl"), link));
    TestEditor t(folder.path());
    QCOMPARE(t.s.PreviewFileName, QDir(folder.path()).filePath("~prev0.wrl"));
    t.editor.commands.NahledClick();
    t.editor.lifecycle.FormClose();
    QVERIFY(!QFileInfo::exists(QDir(folder.path()).filePath("elsewhere.wrl")));
    QVERIFY(QFileInfo(link).isSymLink());
}

void TestLifecycle::formCloseGivesBackTheLocale() {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    {
        TestEditor t;
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
        t.editor.lifecycle.FormClose();
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    }
    QLocale::setDefault(QLocale::c());
}

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
