#include "CommandLine.h"
#include "WindowFixture.h"

#include <QLabel>
#include <QProcess>

using namespace modulino;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void argumentsChooseTheAction_data();
    void argumentsChooseTheAction();
    void programAnswersWithoutAWindow_data();
    void programAnswersWithoutAWindow();
    void fileOpensAsTheOpenCommandOpensIt();
    void fileThatIsNoSceneGetsTheOpenCommandsMessage();
};

void TestCommandLine::argumentsChooseTheAction_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLine::Action>("action");
    QTest::addColumn<QString>("file");
    using A = CommandLine::Action;
    QTest::newRow("none") << QStringList() << A::Edit << QString();
    QTest::newRow("a file") << QStringList{"house.wrl"} << A::Edit << "house.wrl";
    QTest::newRow("--help") << QStringList{"--help"} << A::Help << QString();
    QTest::newRow("-h") << QStringList{"-h"} << A::Help << QString();
    QTest::newRow("--version") << QStringList{"--version"} << A::Version << QString();
    QTest::newRow("two files") << QStringList{"a.wrl", "b.wrl"} << A::WrongUsage << QString();
    QTest::newRow("other option") << QStringList{"--open", "a.wrl"} << A::WrongUsage << QString();
}

void TestCommandLine::argumentsChooseTheAction() {
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Action, action);
    QFETCH(QString, file);
    arguments.prepend(QStringLiteral("modulino"));
    const CommandLine command = CommandLine::parse(arguments);
    QCOMPARE(command.action, action);
    QCOMPARE(command.file, file);
    if (action == CommandLine::Action::WrongUsage || action == CommandLine::Action::Help)
        QVERIFY(command.message.contains(QLatin1String("[FILE]")));
}

void TestCommandLine::programAnswersWithoutAWindow_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage:"
                            << "";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "modulino 1.0.0\n"
                               << "";
    QTest::newRow("two files") << QStringList{"a.wrl", "b.wrl"} << 2 << ""
                               << "Usage:";
    QTest::newRow("other option") << QStringList{"-x"} << 2 << ""
                                  << "Usage:";
}

void TestCommandLine::programAnswersWithoutAWindow() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess program;
    program.start(QStringLiteral(MODULINO_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
    QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
}

void TestCommandLine::fileOpensAsTheOpenCommandOpensIt() {
    WindowFixture f;
    const QString start = QDir::currentPath();
    QVERIFY(QFile::copy(QStringLiteral(MODULINO_TEST_DATA "/input/sample.wrl"),
                        f.folder.filePath(QStringLiteral("sample.wrl"))));
    f.window->openFile(QStringLiteral("sample.wrl"));
    const QString path = f.folder.filePath(QStringLiteral("sample.wrl"));
    QCOMPARE(f.state().SGDilky.rowCount(), 5);
    QCOMPARE(f.cell(PieceTable::ShapeColumn, 4), QStringLiteral("trojboký hranol"));
    QCOMPARE(f.child<QLabel>("jmeno")->text(), path);
    QVERIFY(f.state().SceneSaved);
    QCOMPARE(QDir::currentPath(), start);
    QCOMPARE(f.state().dialogFolder, start);
    QVERIFY(f.dialogs.allAnswered());
}

void TestCommandLine::fileThatIsNoSceneGetsTheOpenCommandsMessage() {
    WindowFixture f;
    const QString path = f.folder.filePath(QStringLiteral("notes.txt"));
    QFile notes(path);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a scene\n");
    notes.close();
    f.window->openFile(path);
    QCOMPARE(f.dialogs.messages, QStringList{f.state().texts.MessageTexts[5]});
    QCOMPARE(f.state().SGDilky.rowCount(), 1);
    QCOMPARE(f.child<QLabel>("jmeno")->text(), QStringLiteral("Beze jména"));

    f.window->openFile(f.folder.filePath(QStringLiteral("missing.wrl")));
    QCOMPARE(f.dialogs.errors.size(), 1);
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
