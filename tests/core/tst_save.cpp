#include "TestEditor.h"
#include "vrml/SceneWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

using namespace modulino;

namespace {

const QByteArray OldBytes = "the file as it was\r\n";

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// An editor in its own folder, with helpers that name files in that folder.
struct Fixture {
    TestEditor t;
    EditorState& s = t.s;
    ScriptedDialogs& dialogs = t.dialogs;
    SceneCommands& commands = t.editor.commands;

    Fixture() {
        for (const char* folder : {"prototypes", "proto", "folder.wrl"})
            QDir(t.folder.path()).mkdir(QString::fromLatin1(folder));
        writeFile(path(QStringLiteral("file.txt")), OldBytes);
        writeFile(path(QStringLiteral("folder.wrl/inside.txt")), OldBytes);
    }

    // An empty name stays empty; "-" stands for a cancelled dialog.
    QString path(const QString& name) const {
        return name.isEmpty() ? name : t.folder.filePath(name);
    }
    QString untitled() const { return s.texts.MessageTexts[3]; }
    // The scene as just read from `name`.
    void named(const QString& name) {
        s.fileName = path(name);
        s.jmeno = path(name);
    }
    void unsaved() { t.editor.editing.PridejClick(); }
    void answerSaveDialog(const QString& name) {
        dialogs.saveAnswers << (name == QLatin1String("-") ? std::optional<QString>()
                                                           : std::optional<QString>(path(name)));
    }
    QStringList allFiles() const {
        QStringList files;
        QDirIterator it(t.folder.path(), QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        files.sort();
        return files;
    }
    QStringList filesWritten() const {
        return QDir(t.folder.path()).entryList({QStringLiteral("*.wrl")}, QDir::Files);
    }
};

} // namespace

class TestSave : public QObject {
    Q_OBJECT

private slots:
    void save_data();
    void save();
    void saveAs_data();
    void saveAs();
    void changesThatCount();
    void replacesAnExistingFile();
    void refusedNameKeptByTheDialog();
    void failedWrite_data();
    void failedWrite();
    void preview();
    void failedPreviewStartsNoViewer();
    void showSaved_data();
    void showSaved();
};

// Save: SceneSaved, the scene's name and the answers decide whether and where it writes.
void TestSave::save_data() {
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("named");        // the current file name; empty: unnamed
    QTest::addColumn<QList<bool>>("confirms"); // answers to the replace question
    QTest::addColumn<QString>("dialog");       // the save dialog's answer; empty: not shown
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("title"); // empty: untitled
    QTest::addColumn<bool>("savedAfter");
    QTest::addColumn<QString>("fileNameAfter");

    using B = QList<bool>;
    QTest::newRow("saved, unnamed") << true << "" << B{} << "" << false << ""
                                    << "" << true << "";
    QTest::newRow("saved, named") << true << "a.wrl" << B{} << "" << false << ""
                                  << "a.wrl" << true << "a.wrl";
    QTest::newRow("unnamed, accepted") << false << "" << B{} << "b.wrl" << false << "b.wrl"
                                       << "b.wrl" << true << "b.wrl";
    QTest::newRow("unnamed, cancelled") << false << "" << B{} << "-" << false << ""
                                        << "" << false << "";
    QTest::newRow("unnamed, proto.wrl") << false << "" << B{} << "proto.wrl" << true << ""
                                        << "" << false << "proto.wrl";
    QTest::newRow("unnamed, myproto.wrl") << false << "" << B{} << "myproto.wrl" << true << ""
                                          << "" << false << "myproto.wrl";
    QTest::newRow("unnamed, prototypes folder")
        << false << "" << B{} << "prototypes/c.wrl" << true << ""
        << "" << false << "prototypes/c.wrl";
    QTest::newRow("unnamed, Proto.wrl") << false << "" << B{} << "Proto.wrl" << false << "Proto.wrl"
                                        << "Proto.wrl" << true << "Proto.wrl";
    QTest::newRow("unnamed, PROTO.wrl") << false << "" << B{} << "PROTO.wrl" << false << "PROTO.wrl"
                                        << "PROTO.wrl" << true << "PROTO.wrl";
    QTest::newRow("named, Yes") << false << "a.wrl" << B{true} << "" << false << "a.wrl"
                                << "a.wrl" << true << "a.wrl";
    QTest::newRow("named, not Yes") << false << "a.wrl" << B{false} << "" << false << ""
                                    << "a.wrl" << false << "a.wrl";
    QTest::newRow("named in a proto folder, Yes")
        << false << "proto/a.wrl" << B{true} << "" << true << ""
        << "proto/a.wrl" << false << "proto/a.wrl";
}

void TestSave::save() {
    QFETCH(bool, saved);
    QFETCH(QString, named);
    QFETCH(QList<bool>, confirms);
    QFETCH(QString, dialog);
    QFETCH(bool, refused);
    QFETCH(QString, written);
    QFETCH(QString, title);
    QFETCH(bool, savedAfter);
    QFETCH(QString, fileNameAfter);

    Fixture f;
    if (!saved)
        f.unsaved();
    if (!named.isEmpty())
        f.named(named);
    f.dialogs.confirmAnswers.append(confirms);
    if (!dialog.isEmpty())
        f.answerSaveDialog(dialog);

    f.commands.Uloit1Click();

    QVERIFY(f.dialogs.allAnswered());
    if (!dialog.isEmpty())
        QCOMPARE(f.dialogs.saveDialogPrefills, QStringList{f.path(named)});
    if (!confirms.isEmpty())
        QCOMPARE(f.dialogs.log.first(),
                 "confirm: Chcete nahradit existující soubor\r\n" + f.path(named) + " ?");
    QCOMPARE(f.dialogs.messages,
             refused ? QStringList{QStringLiteral("Soubor prototypů není dovoleno měnit!")}
                     : QStringList());
    QCOMPARE(f.dialogs.errors, QStringList());
    QCOMPARE(f.filesWritten(),
             written.isEmpty() ? QStringList() : QStringList{QDir(f.path(written)).dirName()});
    if (!written.isEmpty())
        QCOMPARE(contents(f.path(written)), f.s.Final);
    QCOMPARE(f.s.jmeno, title.isEmpty() ? f.untitled() : f.path(title));
    QCOMPARE(f.s.SceneSaved, savedAfter);
    QCOMPARE(f.s.fileName, f.path(fileNameAfter));
}

// Save as always asks for a name, whatever SceneSaved and the title say.
void TestSave::saveAs_data() {
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("written");

    QTest::newRow("saved, unnamed") << true << ""
                                    << "b.wrl" << true;
    QTest::newRow("saved, named") << true << "a.wrl"
                                  << "b.wrl" << true;
    QTest::newRow("unsaved, named") << false << "a.wrl"
                                    << "b.wrl" << true;
    QTest::newRow("cancelled") << false << "a.wrl"
                               << "-" << false;
    QTest::newRow("refused") << true << "a.wrl"
                             << "myproto.wrl" << false;
}

void TestSave::saveAs() {
    QFETCH(bool, saved);
    QFETCH(QString, named);
    QFETCH(QString, dialog);
    QFETCH(bool, written);

    Fixture f;
    if (!saved)
        f.unsaved();
    if (!named.isEmpty())
        f.named(named);
    f.answerSaveDialog(dialog);

    f.commands.Uloitjako1Click();

    QVERIFY(f.dialogs.allAnswered());
    QCOMPARE(f.dialogs.saveDialogPrefills, QStringList{f.path(named)});
    const QString titleBefore = named.isEmpty() ? f.untitled() : f.path(named);
    if (written) {
        QCOMPARE(contents(f.path(dialog)), f.s.Final);
        QCOMPARE(f.s.jmeno, f.path(dialog));
        QVERIFY(f.s.SceneSaved);
    } else {
        QCOMPARE(f.filesWritten(), QStringList());
        QCOMPARE(f.s.jmeno, titleBefore);
        QCOMPARE(f.s.SceneSaved, saved);
    }
    QCOMPARE(f.s.fileName, dialog == QLatin1String("-") ? f.path(named) : f.path(dialog));
}

// The background and the hide-controls box count as changes: Save writes them.
void TestSave::changesThatCount() {
    Fixture f;
    f.unsaved();
    f.answerSaveDialog(QStringLiteral("a.wrl"));
    f.commands.Uloit1Click();
    f.dialogs.log.clear();
    f.commands.Uloit1Click(); // unchanged: nothing asked, nothing written
    QCOMPARE(f.dialogs.log, QStringList());

    f.t.editor.editing.CBSkrytClick(true);
    f.dialogs.colourAnswers << rgb(0, 0, 0);
    f.t.editor.editing.Shape2MouseDown();
    f.dialogs.confirmAnswers << true;
    f.commands.Uloit1Click();
    const QByteArray written = contents(f.path(QStringLiteral("a.wrl")));
    QVERIFY(written.contains("Background { skyColor  0.00 0.00 0.00}\r\n"));
    QVERIFY(written.endsWith(" ovltransp 1 }\r\n"));
    QVERIFY(f.s.SceneSaved);
    QVERIFY(f.dialogs.allAnswered());
}

void TestSave::replacesAnExistingFile() {
    Fixture f;
    const QString a = f.path(QStringLiteral("a.wrl"));
    QVERIFY(writeFile(a, OldBytes + OldBytes + OldBytes + OldBytes));
    f.unsaved();
    f.named(QStringLiteral("a.wrl"));
    f.dialogs.confirmAnswers << true;
    f.commands.Uloit1Click();
    QCOMPARE(contents(a), f.s.Final);
    QVERIFY(f.s.Final.startsWith("#VRML V2.0 utf8\r\n"));
}

// A refused name stays the dialog's name: the next Save of the named scene asks about it and
// refuses again, and Show saved looks for it.
void TestSave::refusedNameKeptByTheDialog() {
    Fixture f;
    f.named(QStringLiteral("a.wrl"));
    f.unsaved();
    f.answerSaveDialog(QStringLiteral("proto/b.wrl"));
    f.commands.Uloitjako1Click();
    QCOMPARE(f.s.jmeno, f.path(QStringLiteral("a.wrl")));
    QCOMPARE(f.s.fileName, f.path(QStringLiteral("proto/b.wrl")));

    f.dialogs.confirmAnswers << true;
    f.commands.Uloit1Click();
    QCOMPARE(f.dialogs.log.at(2), "confirm: Chcete nahradit existující soubor\r\n" +
                                      f.path(QStringLiteral("proto/b.wrl")) + " ?");
    QCOMPARE(f.dialogs.messages.size(), 2);
    QVERIFY(!f.s.SceneSaved);
    QVERIFY(QDir(f.path(QStringLiteral("proto"))).isEmpty());
    QVERIFY(f.dialogs.allAnswered());
}

// A write that fails is reported with the file's name; whatever stood there stays whole, and the
// title, SceneSaved and the current file name stay as they were.
void TestSave::failedWrite_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("untouched"); // a file that must keep its bytes

    QTest::newRow("missing folder") << "missing/a.wrl"
                                    << "file.txt";
    QTest::newRow("through a regular file") << "file.txt/a.wrl"
                                            << "file.txt";
    QTest::newRow("a folder in the file's place") << "folder.wrl"
                                                  << "folder.wrl/inside.txt";
}

void TestSave::failedWrite() {
    QFETCH(QString, target);
    QFETCH(QString, untouched);

    for (const bool throughDialog : {true, false}) {
        Fixture f;
        writeFile(f.path(untouched), OldBytes);
        f.named(throughDialog ? QStringLiteral("a.wrl") : target);
        f.unsaved();
        if (throughDialog)
            f.answerSaveDialog(target);
        else
            f.dialogs.confirmAnswers << true;
        const QString fileNameBefore = f.s.fileName;
        const QStringList filesBefore = f.allFiles();

        if (throughDialog)
            f.commands.Uloitjako1Click();
        else
            f.commands.Uloit1Click();

        QVERIFY(f.dialogs.allAnswered());
        QCOMPARE(f.dialogs.errors.size(), 1);
        QVERIFY2(f.dialogs.errors.first().contains(f.path(target)),
                 qPrintable(f.dialogs.errors.first()));
        QCOMPARE(contents(f.path(untouched)), OldBytes);
        QCOMPARE(f.s.jmeno, fileNameBefore);
        QCOMPARE(f.s.fileName, fileNameBefore);
        QVERIFY(!f.s.SceneSaved);
        QCOMPARE(f.allFiles(), filesBefore);
    }
}

void TestSave::preview() {
    Fixture f;
    f.commands.NahledClick();
    QCOMPARE(f.dialogs.viewed, QStringList{f.s.PreviewFileName});
    QVERIFY(f.s.PreviewFileName.endsWith(QLatin1String("/~prev00.wrl")));
    QCOMPARE(contents(f.s.PreviewFileName), f.s.Final);
    QVERIFY(f.s.Final.endsWith("\r\nBackground { skyColor  0.80 0.80 1.00}\r\n"));

    f.unsaved();
    f.named(QStringLiteral("a.wrl"));
    f.commands.NahledClick();
    QCOMPARE(f.dialogs.viewed.size(), 2);
    QCOMPARE(contents(f.s.PreviewFileName), f.s.Final);
    QVERIFY(f.s.Final.endsWith(" ovltransp 0 }\r\n"));
    QVERIFY(!f.s.SceneSaved);
    QCOMPARE(f.s.jmeno, f.path(QStringLiteral("a.wrl")));
    QCOMPARE(f.filesWritten(), QStringList{QStringLiteral("~prev00.wrl")});
}

void TestSave::failedPreviewStartsNoViewer() {
    Fixture f;
    f.s.PreviewFileName = f.path(QStringLiteral("missing/~prev00.wrl"));
    f.commands.NahledClick();
    QCOMPARE(f.dialogs.viewed, QStringList());
    QCOMPARE(f.dialogs.errors.size(), 1);
    QVERIFY(f.dialogs.errors.first().contains(f.s.PreviewFileName));
}

void TestSave::showSaved_data() {
    QTest::addColumn<QString>("named");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QList<bool>>("confirms");
    QTest::addColumn<QStringList>("messages"); // indexes into MessageTexts
    QTest::addColumn<bool>("viewed");

    using B = QList<bool>;
    QTest::newRow("unnamed") << "" << false << false << B{} << QStringList{"9"} << false;
    QTest::newRow("unnamed, saved") << "" << false << true << B{} << QStringList{"9"} << false;
    QTest::newRow("file there") << "a.wrl" << true << true << B{} << QStringList{} << true;
    QTest::newRow("file there, unsaved edits")
        << "a.wrl" << true << false << B{} << QStringList{} << true;
    QTest::newRow("file gone, saved")
        << "a.wrl" << false << true << B{} << QStringList{"8"} << false;
    QTest::newRow("file gone, saved again")
        << "a.wrl" << false << false << B{true} << QStringList{} << true;
    QTest::newRow("file gone, not saved again")
        << "a.wrl" << false << false << B{false} << QStringList{"8"} << false;
    QTest::newRow("a folder in the file's place")
        << "folder.wrl" << true << true << B{} << QStringList{"8"} << false;
    QTest::newRow("file gone, proto refused")
        << "proto/a.wrl" << false << false << B{true} << QStringList{"7", "8"} << false;
}

void TestSave::showSaved() {
    QFETCH(QString, named);
    QFETCH(bool, exists);
    QFETCH(bool, saved);
    QFETCH(QList<bool>, confirms);
    QFETCH(QStringList, messages);
    QFETCH(bool, viewed);

    Fixture f;
    if (!saved)
        f.unsaved();
    if (!named.isEmpty()) {
        f.named(named);
        if (exists && !QFileInfo(f.path(named)).isDir())
            QVERIFY(writeFile(f.path(named), OldBytes));
    }
    f.dialogs.confirmAnswers.append(confirms);

    f.commands.Zobrazituloenou1Click();

    QVERIFY(f.dialogs.allAnswered());
    QStringList expected;
    for (const QString& index : messages)
        expected << f.s.texts.MessageTexts[index.toInt()];
    QCOMPARE(f.dialogs.messages, expected);
    QCOMPARE(f.dialogs.viewed, viewed ? QStringList{f.path(named)} : QStringList());
    if (viewed && !exists)
        QCOMPARE(contents(f.path(named)), f.s.Final);
    if (exists && !QFileInfo(f.path(named)).isDir())
        QCOMPARE(contents(f.path(named)), OldBytes);
}

QTEST_GUILESS_MAIN(TestSave)
#include "tst_save.moc"
