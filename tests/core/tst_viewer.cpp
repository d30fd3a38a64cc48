#include "commands/Viewer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace modulino;

namespace {

// A stand-in for xdg-open that writes its argument count and arguments, each ended by a NUL, to
// a file beside itself.
class FakeOpener {
public:
    FakeOpener() {
        QFile script(program());
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\nprintf '%s\\0' \"$#\" \"$@\" > '" + record().toUtf8() +
                     ".tmp'\nmv '" + record().toUtf8() + ".tmp' '" + record().toUtf8() + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString folder() const { return bin.path(); }
    QString program() const { return bin.filePath(QStringLiteral("xdg-open")); }
    QString record() const { return bin.filePath(QStringLiteral("argv")); }

    // The arguments of the one run, once it has written them.
    QStringList arguments() const {
        QFile file(record());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList args;
        for (const QByteArray& arg : file.readAll().split('\0'))
            args << QString::fromUtf8(arg);
        args.removeLast(); // after the last NUL
        return args;
    }

private:
    QTemporaryDir bin;
};

bool createFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("#VRML V2.0 utf8\r\n") > 0;
}

} // namespace

class TestViewer : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fileNameArrivesIntact_data();
    void fileNameArrivesIntact();
    void relativePathBecomesAbsolute();
    void xdgOpenFoundOnPath();
    void missingOpener();

private:
    QTemporaryDir files;
    QString startFolder;
};

void TestViewer::init() {
    startFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(files.path()));
}

void TestViewer::cleanup() {
    QDir::setCurrent(startFolder);
}

void TestViewer::fileNameArrivesIntact_data() {
    QTest::addColumn<QString>("name");

    QTest::newRow("blanks") << QStringLiteral("my  scene .wrl");
    QTest::newRow("quotes") << QStringLiteral("it's \"here\".wrl");
    QTest::newRow("semicolon") << QStringLiteral("a;touch pwned;.wrl");
    QTest::newRow("command substitution") << QStringLiteral("$(touch pwned).wrl");
    QTest::newRow("backticks") << QStringLiteral("`touch pwned`.wrl");
    QTest::newRow("leading dash") << QStringLiteral("-rf.wrl");
    QTest::newRow("leading double dash") << QStringLiteral("--help");
    QTest::newRow("glob and redirection") << QStringLiteral("*>pwned<&|.wrl");
    QTest::newRow("line break") << QStringLiteral("two\nlines.wrl");
    QTest::newRow("Czech") << QStringLiteral("scéna žluťoučká.wrl");
}

void TestViewer::fileNameArrivesIntact() {
    QFETCH(QString, name);
    const QString path = files.filePath(name);
    QVERIFY(createFile(path));
    FakeOpener opener;

    QVERIFY(openInDesktopViewer(path, opener.program()));

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(opener.record()), 20000);
    QCOMPARE(opener.arguments(), (QStringList{QStringLiteral("1"), path}));
    QVERIFY(!QFile::exists(files.filePath(QStringLiteral("pwned"))));
    QVERIFY(!QFile::exists(opener.folder() + QStringLiteral("/pwned")));
}

// A name that starts with '-' reaches the opener as a path, never as an option.
void TestViewer::relativePathBecomesAbsolute() {
    QVERIFY(createFile(files.filePath(QStringLiteral("-v.wrl"))));
    FakeOpener opener;
    QVERIFY(openInDesktopViewer(QStringLiteral("-v.wrl"), opener.program()));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(opener.record()), 20000);
    QCOMPARE(opener.arguments(),
             (QStringList{QStringLiteral("1"), files.filePath(QStringLiteral("-v.wrl"))}));
}

void TestViewer::xdgOpenFoundOnPath() {
    const QString path = files.filePath(QStringLiteral("scene.wrl"));
    QVERIFY(createFile(path));
    FakeOpener opener;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(opener.folder()) + ':' + oldPath);
    const bool started = openInDesktopViewer(path);
    qputenv("PATH", oldPath);
    QVERIFY(started);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(opener.record()), 20000);
    QCOMPARE(opener.arguments(), (QStringList{QStringLiteral("1"), path}));
}

void TestViewer::missingOpener() {
    QVERIFY(!openInDesktopViewer(files.filePath(QStringLiteral("scene.wrl")),
                                 files.filePath(QStringLiteral("no-such-opener"))));
}

QTEST_GUILESS_MAIN(TestViewer)
#include "tst_viewer.moc"
