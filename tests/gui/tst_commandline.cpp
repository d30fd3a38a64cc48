#include "WindowFixture.h"

#include <QLabel>
#include <QProcess>

using namespace modulino;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void programAnswersWithoutAWindow_data();
    void programAnswersWithoutAWindow();
    void fileOpensAsTheOpenCommandOpensIt();
};

void TestCommandLine::programAnswersWithoutAWindow_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage:"
                            << "";
    QTest::newRow("--version") << QStringList{"--version"} << 0 << "modulino 1.0.0\n"
                               << "";
    // Help and version reach no window system, so they answer where there is no display.
    QTest::newRow("--help, no display") << QStringList{"--help", "nodisplay"} << 0 << "Usage:"
                                        << "";
    QTest::newRow("two files") << QStringList{"a.wrl", "b.wrl"} << 2 << ""
                               << "Usage:";
    QTest::newRow("other option") << QStringList{"-x", "a.wrl"} << 2 << ""
                                  << "Usage:";
}

void TestCommandLine::programAnswersWithoutAWindow() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QProcess program;
    if (arguments.removeAll(QStringLiteral("nodisplay"))) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
    }
    program.start(QStringLiteral(MODULINO_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), exitCode);
    const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
    QVERIFY(QString::fromLocal8Bit(program.readAllStandardError()).contains(err));
}

void TestCommandLine::fileOpensAsTheOpenCommandOpensIt() {
    WindowFixture f;
    const QString start = QDir::currentPath();
    QVERIFY(QFile::copy(QStringLiteral(MODULINO_TEST_DATA "/input/sample.wrl"),
                        f.folder.filePath(QStringLiteral("sample.wrl"))));
    QFile notes(f.folder.filePath(QStringLiteral("notes.txt")));
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a scene\n") > 0);
    notes.close();

    f.window->openFile(QStringLiteral("notes.txt")); // not a scene: the open command's message
    QCOMPARE(f.dialogs.messages, QStringList{f.state().texts.MessageTexts[5]});
    QCOMPARE(f.child<QLabel>("jmeno")->text(), QStringLiteral("Beze jména"));

    f.window->openFile(QStringLiteral("sample.wrl")); // relative to the working folder
    QCOMPARE(f.state().SGDilky.rowCount(), 5);
    QCOMPARE(f.cell(PieceTable::ShapeColumn, 4), QStringLiteral("trojboký hranol"));
    QCOMPARE(f.child<QLabel>("jmeno")->text(), f.folder.filePath(QStringLiteral("sample.wrl")));
    QVERIFY(f.state().SceneSaved);
    QCOMPARE(QDir::currentPath(), start);
    QCOMPARE(f.state().dialogFolder, start);
    QVERIFY(f.dialogs.allAnswered());
}

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
