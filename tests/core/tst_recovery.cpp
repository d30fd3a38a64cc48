#include "TestEditor.h"
#include "base/FileLock.h"
#include "base/SceneFile.h"
#include "vrml/SceneWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

using namespace modulino;

namespace {

QStringList stateFiles() {
    return QDir(recoveryFolder()).entryList(QDir::Files | QDir::Hidden);
}

// Run in a process of its own: saves one piece as scene.wrl in `folder` under the xzy convention,
// adds a second piece, writes the recovery copy and waits to be killed.
int leaveCopy(const QString& folder) {
    TestEditor t(folder);
    t.s.AxisOrder = 1;
    t.editor.editing.PridejClick();
    t.dialogs.saveAnswers << folder + QString("/scene.wrl");
    t.editor.commands.Uloitjako1Click();
    t.editor.editing.PridejClick();
    t.editor.recovery.writeNow();
    std::puts("written");
    std::fflush(stdout);
    QThread::sleep(600);
    return 0;
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("XDG_STATE_HOME", state.path().toUtf8()); }
    void cleanup() { QDir(recoveryFolder()).removeRecursively(); }

    void copyFollowsTheScene_data();
    void copyFollowsTheScene();
    void leftCopyIsOffered_data();
    void leftCopyIsOffered();
    void changedOnDisk_data();
    void changedOnDisk();
    void secondEditorIsTold_data();
    void secondEditorIsTold();

private:
    QTemporaryDir state;
};

void TestRecovery::copyFollowsTheScene_data() {
    QTest::addColumn<QString>("end");
    for (const char* end : {"save", "new", "open", "close", "undo"})
        QTest::newRow(end) << QString::fromLatin1(end);
}

// Written after a change as Save would write the scene, also after changes above rows already
// composed; deleted when the scene is saved or the user let its changes go.
void TestRecovery::copyFollowsTheScene() {
    QFETCH(QString, end);
    auto t = std::make_unique<TestEditor>();
    Editor& e = t->editor;
    const QString file = t->folder.filePath(QString("file.wrl"));
    ComposeScene(t->s);
    QVERIFY(writeWholeFile(file, t->s.Final).isEmpty());
    e.recovery.update();
    QVERIFY(!e.recovery.copyKept());

    for (int i = 0; i < 3; ++i)
        e.editing.PridejClick();
    e.recovery.writeNow();
    e.editing.SGDilkySelectCell(5, 1);
    e.editing.UDClick(UpDownId::UDx);
    e.editing.PridejClick();
    e.recovery.writeNow();
    ComposeScene(t->s);
    QCOMPARE(readWholeFile(e.recovery.scenePath()).bytes, t->s.Final);
    t->s.SGDilky.setSelectionRanges({{1, 2}});
    e.group.TvarChange(4); // a group edit tells of its rows at once
    e.recovery.writeNow();
    ComposeScene(t->s);
    QCOMPARE(readWholeFile(e.recovery.scenePath()).bytes, t->s.Final);
    e.panels.ImXYZClick(2);
    e.recovery.writeNow();
    ComposeScene(t->s);
    QCOMPARE(readWholeFile(e.recovery.scenePath()).bytes, t->s.Final);
    QCOMPARE(stateFiles().size(), 3); // the scene, its record and its owner's lock

    if (end == QString("save")) {
        t->dialogs.saveAnswers << file + QString("2");
        e.commands.Uloit1Click();
    } else if (end == QString("new")) {
        t->dialogs.confirmAnswers << true;
        e.lifecycle.Nov1Click();
    } else if (end == QString("open")) {
        t->dialogs.confirmAnswers << true;
        t->dialogs.openAnswers << file;
        e.opening.Nast1Click();
    } else if (end == QString("close")) {
        t->dialogs.confirmAnswers << true << false;
        QVERIFY(e.lifecycle.FormCloseQuery());
        e.lifecycle.FormClose();
    } else {
        while (t->s.history.canUndo())
            e.undoRedo.ZpetClick();
    }
    e.recovery.update();
    QVERIFY(t->dialogs.allAnswered());
    if (end == QString("close"))
        t.reset();
    QCOMPARE(stateFiles(), QStringList());
}

void TestRecovery::leftCopyIsOffered_data() {
    QTest::addColumn<bool>("restore");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

// A copy whose editor was killed is offered once; another running editor's copy is never touched.
void TestRecovery::leftCopyIsOffered() {
    QFETCH(bool, restore);
    QTemporaryDir work;
    QProcess killed;
    killed.start(QCoreApplication::applicationFilePath(), {"--leave-copy", work.path()});
    QVERIFY(killed.waitForReadyRead(30000));
    killed.kill();
    killed.waitForFinished();
    TestEditor running;
    running.editor.editing.PridejClick();
    running.editor.recovery.writeNow();
    QCOMPARE(stateFiles().size(), 6);

    TestEditor next;
    next.dialogs.confirmAnswers << restore;
    QCOMPARE(next.editor.offerRecovery(), restore);
    const QString file = work.filePath(QString("scene.wrl"));
    QCOMPARE(next.dialogs.log.size(), 1);
    QVERIFY(next.dialogs.log[0].startsWith(QString("confirm (default Yes): ")));
    QVERIFY(next.dialogs.log[0].contains(file));
    QVERIFY(QFile::exists(running.editor.recovery.scenePath()));
    QCOMPARE(stateFiles().size(), restore ? 6 : 3);
    if (!restore) {
        QCOMPARE(next.s.SGDilky.rowCount(), 1);
        return;
    }
    QCOMPARE(next.s.SGDilky.rowCount(), 3);
    QCOMPARE(next.s.fileName, file);
    QCOMPARE(next.s.jmeno, file);
    QCOMPARE(next.s.AxisOrder, 1);
    QVERIFY(!next.s.SceneSaved);
    next.editor.editing.PridejClick();
    next.editor.undoRedo.ZpetClick(); // back to the restored scene, which is not the saved one
    QVERIFY(!next.s.SceneSaved);
    QVERIFY(next.dialogs.messages.isEmpty()); // the killed editor's mark on the file is taken over

    TestEditor third;
    QVERIFY(!third.editor.offerRecovery());
    QVERIFY(third.dialogs.log.isEmpty());

    // The file is as the killed editor left it: the ordinary question, and then the copy goes.
    next.dialogs.confirmAnswers << true;
    next.editor.commands.Uloit1Click();
    next.editor.recovery.update();
    QVERIFY(next.dialogs.log.last().startsWith(QString("confirm: ")));
    QVERIFY(next.s.SceneSaved);
    QCOMPARE(stateFiles().size(), 3);
}

void TestRecovery::changedOnDisk_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("asked");
    QTest::newRow("rewritten by another program") << "rewritten" << true;
    QTest::newRow("replaced by a rename") << "renamed" << true;
    QTest::newRow("touched only") << "touched" << true;
    QTest::newRow("our own save") << "saved" << false;
}

// Save asks the stronger question, default No, when another program changed the file; the window
// becoming active offers once per change to read it again.
void TestRecovery::changedOnDisk() {
    QFETCH(QString, change);
    QFETCH(bool, asked);
    TestEditor t;
    const QString file = t.folder.filePath(QString("scene.wrl"));
    ComposeScene(t.s);
    QVERIFY(writeWholeFile(file, t.s.Final).isEmpty());
    QCOMPARE(t.editor.opening.openFile(file), SceneOpening::OpenResult::Opened);
    t.editor.editing.PridejClick();

    if (change == QString("rewritten")) {
        QFile other(file);
        QVERIFY(other.open(QIODevice::WriteOnly | QIODevice::Append));
        other.write("# another program\r\n");
    } else if (change == QString("renamed")) {
        const QString other = file + QString(".new");
        QVERIFY(writeWholeFile(other, "#VRML V2.0 utf8\r\n").isEmpty());
        QVERIFY(::rename(QFile::encodeName(other), QFile::encodeName(file)) == 0);
    } else if (change == QString("touched")) {
        const timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(file), times, 0) == 0);
    } else {
        t.dialogs.confirmAnswers << true;
        t.editor.commands.Uloit1Click();
        t.editor.editing.PridejClick();
    }
    const QByteArray onDisk = readWholeFile(file).bytes;
    t.dialogs.confirmAnswers << false;
    t.editor.commands.Uloit1Click();
    const Notices& notices = t.s.texts.notices;
    QCOMPARE(t.dialogs.log.last(),
             asked ? QString("confirm (default No): ") + notices.ChangedOnDisk.arg(file)
                   : QString("confirm: ") + t.editor.commands.overwriteQuestion());
    QCOMPARE(readWholeFile(file).bytes, onDisk);
    QVERIFY(!t.s.SceneSaved);

    const qsizetype questions = t.dialogs.log.size();
    if (asked)
        t.dialogs.confirmAnswers << false;
    t.editor.FormActivate();
    t.editor.FormActivate();
    QCOMPARE(t.dialogs.log.size(), questions + (asked ? 1 : 0));
    if (asked)
        QCOMPARE(t.dialogs.log.last(),
                 QString("confirm (default No): ") + notices.ReloadLosing.arg(file));
    QVERIFY(t.dialogs.allAnswered());
}

void TestRecovery::secondEditorIsTold_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("marked");
    QTest::newRow("second editor") << "scene.wrl" << true;
    // The lock's name would be longer than a folder entry may be.
    QTest::newRow("no lock possible") << QString(250, QLatin1Char('l')) + ".wrl" << false;
}

void TestRecovery::secondEditorIsTold() {
    QFETCH(QString, name);
    QFETCH(bool, marked);
    TestEditor first, second;
    const QString file = first.folder.filePath(name);
    first.editor.editing.PridejClick();
    first.dialogs.saveAnswers << file;
    first.editor.commands.Uloitjako1Click();
    QVERIFY(first.s.SceneSaved);
    QCOMPARE(QFile::exists(lockFileName(file)), marked);

    QCOMPARE(second.editor.opening.openFile(file), SceneOpening::OpenResult::Opened);
    QCOMPARE(second.dialogs.messages.size(), marked ? 1 : 0);
    if (marked)
        QCOMPARE(second.dialogs.messages[0],
                 second.s.texts.notices.OpenElsewhere.arg(
                     file, QFileInfo(lockFileName(file)).owner(), QSysInfo::machineHostName(),
                     QString::number(QCoreApplication::applicationPid())));

    // The mark goes at New; the second editor's next save takes it without a word.
    first.editor.lifecycle.Nov1Click();
    QVERIFY(!QFile::exists(lockFileName(file)));
    second.editor.editing.PridejClick();
    second.dialogs.confirmAnswers << true;
    second.editor.commands.Uloit1Click();
    QCOMPARE(second.dialogs.messages.size(), marked ? 1 : 0);
    QCOMPARE(QFile::exists(lockFileName(file)), marked);
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--leave-copy") == 0)
        return leaveCopy(QString::fromLocal8Bit(argv[2]));
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
