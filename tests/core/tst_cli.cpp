#include "FileKinds.h"
#include "TestEditor.h"
#include "vrml/SceneWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace modulino;

namespace {

struct Run {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QStringList& arguments, const QString& workingDirectory) {
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(MODULINO_SCENE_PROGRAM), arguments);
    Run result;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.code = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString data(const char* name) {
    return QStringLiteral(MODULINO_TEST_DATA "/input/") + QLatin1String(name);
}

QByteArray lines(const QByteArrayList& library) {
    QByteArray bytes;
    for (const QByteArray& line : library)
        bytes += line + "\r\n";
    return bytes;
}

const QByteArray Background = "Background { skyColor  0.80 0.80 1.00}\r\n";

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    // Every test runs the program in an empty working directory of its own.
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
    }

    void usageErrors_data();
    void usageErrors();
    void help();
    void newWritesTheFreshScene();
    void checkPrintsThePieceRows_data();
    void checkPrintsThePieceRows();
    void checkReportsFilesThatAreNoScenes();
    void rewriteWritesTheSceneAgain();
    void rewriteChoosesLibraryAndControls();
    void rewriteToFile();
    void rewriteKeepsEveryByteOfTheHead();
    void checkEscapesTabsAndBackslashes();
    void specialInputFiles_data();
    void specialInputFiles();
    void specialOutputs_data();
    void specialOutputs();
    void failsThroughTheShell_data();
    void failsThroughTheShell();
    void killedRewriteLeavesTheTargetWhole();

private:
    QString path(const QString& name) const { return QDir(folder->path()).filePath(name); }
    QString work() const { return folder->path(); }
    std::unique_ptr<QTemporaryDir> folder;
};

void TestCli::usageErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList{} << "no command";
    QTest::newRow("unknown command") << QStringList{"show"} << "unknown command 'show'";
    QTest::newRow("check without file") << QStringList{"check"} << "needs a FILE";
    QTest::newRow("two files") << QStringList{"check", "a.wrl", "b.wrl"} << "'b.wrl'";
    QTest::newRow("new with a file") << QStringList{"new", "a.wrl"} << "'a.wrl'";
    QTest::newRow("bad axes") << QStringList{"new", "--axes", "zyx"} << "xyz, xzy or yzx";
    QTest::newRow("axes without value") << QStringList{"check", "a.wrl", "--axes"} << "axes";
    QTest::newRow("bad library") << QStringList{"rewrite", "a.wrl", "--library", "left"}
                                 << "front or back";
    QTest::newRow("option of another command")
        << QStringList{"check", "a.wrl", "-o", "x.wrl"} << "Unknown option 'o'";
    QTest::newRow("option before the command")
        << QStringList{"--axes", "xzy", "new"} << "Unknown option";
    QTest::newRow("empty output name") << QStringList{"rewrite", "a.wrl", "-o", ""} << "file name";
}

void TestCli::usageErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run r = run(arguments, work());
    QCOMPARE(r.code, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
    QVERIFY(r.err.contains("--help"));
}

void TestCli::help() {
    const Run general = run({"--help"}, work());
    QCOMPARE(general.code, 0);
    for (const char* word : {"new", "check", "rewrite", "Exit codes"})
        QVERIFY(general.out.contains(word));
    const Run rewrite = run({"rewrite", "--help"}, work());
    QCOMPARE(rewrite.code, 0);
    QVERIFY(rewrite.out.startsWith("Usage: modulino-scene rewrite FILE [options]"));
    for (const char* option : {"--output", "--library", "--hide-controls", "--axes"})
        QVERIFY(rewrite.out.contains(option));
}

void TestCli::newWritesTheFreshScene() {
    TestEditor fresh;
    ComposeScene(fresh.s);
    const Run front = run({"new"}, work());
    QCOMPARE(front.code, 0);
    QCOMPARE(front.out, fresh.s.Final);
    QVERIFY(front.err.isEmpty());

    fresh.editor.panels.Image1Click();
    ComposeScene(fresh.s);
    QCOMPARE(run({"new", "--back-corner", "--axes", "yzx"}, work()).out, fresh.s.Final);

    // "proto.wrl" in the working directory is the front-corner library.
    writeFile(path("proto.wrl"), "#VRML V2.0 utf8\n# mine\n");
    QCOMPARE(run({"new"}, work()).out,
             "#VRML V2.0 utf8\r\n# mine\r\nBackground { skyColor  0.80 0.80 1.00}\r\n");
}

void TestCli::checkPrintsThePieceRows_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("sample") << data("sample.wrl") << QStringList{} << data("sample.check.txt");
    QTest::newRow("sample, yzx") << data("sample.wrl") << QStringList{"--axes", "yzx"}
                                 << data("sample.yzx.check.txt");
    QTest::newRow("own head, LF") << data("own-head.wrl") << QStringList{}
                                  << data("own-head.check.txt");
}

void TestCli::checkPrintsThePieceRows() {
    QFETCH(QString, file);
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    const Run r = run(QStringList{"check", file} + options, work());
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, readFile(expected));
    QVERIFY(r.err.isEmpty());
}

void TestCli::checkReportsFilesThatAreNoScenes() {
    const Run broken = run({"check", data("broken-colour.wrl")}, work());
    QCOMPARE(broken.code, 1);
    QVERIFY(broken.out.isEmpty());
    QString message = TextTables::builtIn().MessageTexts[5];
    QCOMPARE(QString::fromUtf8(broken.err), message.replace("\r\n", "\n") + "\n");

    const Run missing = run({"check", path("missing.wrl")}, work());
    QCOMPARE(missing.code, 2);
    QVERIFY(missing.err.contains(path("missing.wrl").toUtf8()));
    QVERIFY(missing.err.contains("No such file"));

    QCOMPARE(run({"check", work()}, work()).code, 2);
    QCOMPARE(run({"rewrite", data("broken-colour.wrl")}, work()).code, 1);
}

void TestCli::rewriteWritesTheSceneAgain() {
    // A scene the editor wrote comes back unchanged under every convention.
    const QByteArray sample = readFile(data("sample.wrl"));
    for (const char* axes : {"xyz", "xzy", "yzx"})
        QCOMPARE(run({"rewrite", data("sample.wrl"), "--axes", axes}, work()).out, sample);

    const Run own = run({"rewrite", data("own-head.wrl")}, work());
    QCOMPARE(own.code, 0);
    QCOMPARE(own.out, readFile(data("own-head.rewritten.wrl")));
}

void TestCli::rewriteChoosesLibraryAndControls() {
    TestEditor fresh;
    const QByteArray scene = readFile(data("sample.wrl"));
    const QByteArray pieces = scene.mid(scene.indexOf("Background"));

    const Run back = run({"rewrite", data("sample.wrl"), "--library", "back"}, work());
    QCOMPARE(back.out, lines(fresh.s.zalohan) + pieces);
    const Run front = run({"rewrite", data("sample.wrl"), "--library", "front"}, work());
    QCOMPARE(front.out, lines(fresh.s.zaloha) + pieces);

    const Run hidden = run({"rewrite", data("sample.wrl"), "--hide-controls"}, work());
    QCOMPARE(hidden.out.count("ovltransp 1 }\r\n"), 4);
    QCOMPARE(hidden.out.mid(hidden.out.indexOf("Background")).count("ovltransp"), 4);
}

void TestCli::rewriteToFile() {
    const QString out = path("out.wrl");
    writeFile(out, "old content");
    const Run r = run({"rewrite", data("sample.wrl"), "-o", out}, work());
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.isEmpty());
    QCOMPARE(readFile(out), readFile(data("sample.wrl")));

    const QString nowhere = path("no/such/folder/out.wrl");
    const Run failed = run({"rewrite", data("sample.wrl"), "--output", nowhere}, work());
    QCOMPARE(failed.code, 2);
    QVERIFY(failed.err.contains(nowhere.toUtf8()));

    // A file that is not a scene writes nothing.
    const QString untouched = path("untouched.wrl");
    QCOMPARE(run({"rewrite", data("broken-colour.wrl"), "-o", untouched}, work()).code, 1);
    QVERIFY(!QFile::exists(untouched));
}

void TestCli::rewriteKeepsEveryByteOfTheHead() {
    QByteArray head;
    for (int c = 0; c < 256; ++c)
        if (c != '\r' && c != '\n')
            head += char(c);
    head += "\r\n\r\n";
    const QByteArray rest = "Background { skyColor  0.80 0.80 1.00}\r\n"
                            "Dilek { velikost 1 1 1 poloha 0 0 0 tvar \"koule\" povrch 1 1 1 "
                            "ovltransp 0 }\r\n";
    writeFile(path("bytes.wrl"), head + rest);
    const Run r = run({"rewrite", path("bytes.wrl")}, work());
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out, head + rest);
}

void TestCli::checkEscapesTabsAndBackslashes() {
    writeFile(path("odd.wrl"), Background +
                                   "Dilek { velikost 1 1 1 poloha 0 0 0 tvar \"a\tb\" povrch 1 "
                                   "1 1 ovltransp 0 }\r\n" +
                                   "Dilek { velikost 1 1 1 poloha 0 0 0 tvar \"c\\\\d\" povrch 1 "
                                   "1 1 ovltransp 0 }\r\n");
    const Run r = run({"check", path("odd.wrl")}, work());
    QCOMPARE(r.code, 0);
    const QByteArrayList rows = r.out.split('\n');
    QCOMPARE(rows.size(), 3);
    for (const QByteArray& row : rows.first(2))
        QCOMPARE(row.count('\t'), 11);
    QVERIFY2(r.out.contains("\ta\\tb\t") && r.out.contains("\tc\\\\d\t"), r.out.constData());
}

void TestCli::specialInputFiles_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    for (const char* command : {"check", "rewrite"}) {
        QTest::addRow("%s, FIFO", command) << command << "FIFO"
                                           << "FIFO";
        QTest::addRow("%s, FIFO with a writer", command) << command << "FIFO+writer"
                                                         << "FIFO";
        QTest::addRow("%s, character device", command) << command << "device"
                                                       << "device";
        QTest::addRow("%s, /dev/zero", command) << command << "/dev/zero"
                                                << "device";
        QTest::addRow("%s, folder", command) << command << "folder"
                                             << "folder";
    }
}

// Refused at once with exit code 2: nothing blocks, nothing grows.
void TestCli::specialInputFiles() {
    QFETCH(QString, command);
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString file = kind.startsWith(QLatin1Char('/')) ? kind : path("file.wrl");
    std::optional<SpecialFile> special;
    if (file != kind && !special.emplace(kind, file).error.isEmpty())
        QSKIP(qPrintable(special->error));
    QStringList arguments{command, file};
    if (command == QLatin1String("rewrite"))
        arguments << QStringLiteral("-o") << path("out.wrl");
    const Run r = run(arguments, work());
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(file.toUtf8()) && r.err.contains(reason.toUtf8()), r.err.constData());
    QVERIFY(!QFile::exists(path("out.wrl")));
}

void TestCli::specialOutputs_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("kind"); // made at OUT before the run
    QTest::addColumn<int>("code");
    QTest::addRow("character device") << "out.wrl"
                                      << "device" << 0;
    QTest::addRow("FIFO with a reader") << "out.wrl"
                                        << "FIFO" << 0;
    QTest::addRow("standard output") << "/dev/stdout"
                                     << "" << 0;
    QTest::addRow("proto.wrl") << "proto.wrl"
                               << "" << 2;
    QTest::addRow("folder named proto") << "proto/a.wrl"
                                        << "folder" << 2;
}

void TestCli::specialOutputs() {
    QFETCH(QString, output);
    QFETCH(QString, kind);
    QFETCH(int, code);
    const QString out = output.startsWith(QLatin1Char('/')) ? output : path(output);
    std::optional<SpecialFile> special;
    if (!kind.isEmpty() &&
        !special.emplace(kind, kind == QLatin1String("folder") ? path("proto") : out)
             .error.isEmpty())
        QSKIP(qPrintable(special->error));
    const int reader = kind == QLatin1String("FIFO")
                           ? ::open(QFile::encodeName(out).constData(), O_RDONLY | O_NONBLOCK)
                           : -1;
    const Run r = run({"rewrite", data("sample.wrl"), "-o", out}, work());
    QByteArray received(64 * 1024, '\0');
    if (reader >= 0) {
        received.truncate(::read(reader, received.data(), std::size_t(received.size())));
        ::close(reader);
    }

    QCOMPARE(r.code, code);
    const QByteArray scene = readFile(data("sample.wrl"));
    if (kind == QLatin1String("FIFO"))
        QCOMPARE(received, scene);
    if (output.startsWith(QLatin1Char('/')))
        QCOMPARE(r.out, scene);
    if (!kind.isEmpty() && kind != QLatin1String("folder")) {
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(out).constData(), &info), 0);
        QCOMPARE(info.st_mode & S_IFMT, kind == QLatin1String("FIFO") ? S_IFIFO : S_IFCHR);
    }
    if (code == 2) {
        QString refusal = TextTables::builtIn().MessageTexts[7];
        QCOMPARE(QString::fromUtf8(r.err), refusal + QLatin1Char('\n'));
        QVERIFY(!QFile::exists(out));
    }
}

void TestCli::failsThroughTheShell_data() {
    QTest::addColumn<QString>("arguments"); // for sh -c; the name a\377.wrl holds a byte 0xFF
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("FILE not UTF-8")
        << "check \"$(printf 'a\\377.wrl')\"" << QByteArray("not valid UTF-8");
    QTest::newRow("OUT not UTF-8")
        << "rewrite a.wrl -o \"$(printf 'o\\377.wrl')\"" << QByteArray("not valid UTF-8");
    QTest::newRow("full standard output")
        << "check a.wrl >/dev/full" << QByteArray("No space left on device");
}

// Never another file: not the one a name would read as with its bad byte replaced.
void TestCli::failsThroughTheShell() {
    QFETCH(QString, arguments);
    QFETCH(QByteArray, reason);
    const QByteArray scene = readFile(data("sample.wrl"));
    for (const QByteArray& name :
         {QByteArray("a.wrl"), QByteArray("a\xff.wrl"), QStringLiteral("a\uFFFD.wrl").toUtf8()}) {
        const QByteArray full = QFile::encodeName(work()) + '/' + name;
        const int fd = ::open(full.constData(), O_WRONLY | O_CREAT, 0644);
        QCOMPARE(::write(fd, scene.constData(), std::size_t(scene.size())), scene.size());
        ::close(fd);
    }
    const QStringList before = QDir(work()).entryList(QDir::Files);
    QProcess process;
    process.setWorkingDirectory(work());
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("exec \"$0\" ") + arguments,
                   QStringLiteral(MODULINO_SCENE_PROGRAM)});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QVERIFY(process.readAllStandardError().contains(reason));
    QCOMPARE(QDir(work()).entryList(QDir::Files), before);
}

void TestCli::killedRewriteLeavesTheTargetWhole() {
    // A scene large enough that a kill lands in every part of the write.
    QByteArray scene = run({"new"}, work()).out;
    for (int i = 0; i < 10000; ++i)
        scene += "Dilek { velikost 1 2 3 poloha " + QByteArray::number(i % 40 - 20) +
                 " 0 0 tvar \"koule\" povrch 0.5 0.5 0.5 ovltransp 0 }\r\n";
    const QString input = path("scene.wrl");
    const QString out = path("out.wrl");
    writeFile(input, scene);
    QCOMPARE(run({"rewrite", input, "-o", out, "--hide-controls"}, work()).code, 0);
    const QByteArray before = readFile(out);
    qint64 span =
        1000; // the shortest of three runs; the kills fall from its middle to past its end
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(run({"rewrite", input, "-o", out}, work()).code, 0);
        span = std::min(span, clock.elapsed());
    }
    const QByteArray after = readFile(out);
    QVERIFY(before != after);

    for (int kill = 0; kill < 24; ++kill) {
        writeFile(out, before);
        QProcess process;
        process.setWorkingDirectory(work());
        process.start(QStringLiteral(MODULINO_SCENE_PROGRAM), {"rewrite", input, "-o", out});
        QVERIFY(process.waitForStarted());
        QThread::msleep(ulong(span / 2) + QRandomGenerator::global()->bounded(quint32(span)));
        process.kill();
        process.waitForFinished();
        const QByteArray found = readFile(out);
        QVERIFY2(found == before || found == after, qPrintable(QString::number(kill)));
        QCOMPARE(QDir(work()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList({"out.wrl", "scene.wrl"}));
    }
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
