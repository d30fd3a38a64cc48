#include "FileKinds.h"
#include "TestEditor.h"
#include "base/SceneFile.h"
#include "vrml/Libraries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace modulino;

namespace {

const QByteArray OldBytes = "the file as it was\r\n";
const QByteArray NewBytes = "the new text\r\n";
constexpr uid_t Nobody = 65534;

QByteArray name(const QString& path) {
    return QFile::encodeName(path);
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct stat statOf(const QString& path) {
    struct stat info {};
    ::lstat(name(path).constData(), &info);
    return info;
}

// A sparse file of `size` bytes.
bool makeSized(const QString& path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

// The files of the folder other than `expected`: left-over temporaries.
QStringList strayFiles(const QString& folder, const QStringList& expected) {
    QStringList files = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    for (const QString& name : expected)
        files.removeAll(name);
    return files;
}

// A small file system that is full after a few kilobytes, unmounted at the end.
struct SmallDisk {
    QTemporaryDir folder;
    bool mounted = false;
    SmallDisk() {
        mounted = ::mount("tmpfs", name(folder.path()).constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~SmallDisk() {
        if (mounted)
            ::umount(name(folder.path()).constData());
    }
};

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ::umask(022); }
    void readsOnlyRegularFiles_data();
    void readsOnlyRegularFiles();
    void writesLikeAnEditor_data();
    void writesLikeAnEditor();
    void writesInPlaceWhereNoFileCanBeCreated();
    void fullDisk_data();
    void fullDisk();
    void startUpGoesOnWithoutFilesItCannotUse_data();
    void startUpGoesOnWithoutFilesItCannotUse();
};

void TestFiles::readsOnlyRegularFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error"); // empty: read

    QTest::newRow("regular") << "regular"
                             << "";
    QTest::newRow("missing") << "missing"
                             << "No such file or directory";
    QTest::newRow("FIFO without a writer") << "FIFO"
                                           << "it is a FIFO";
    QTest::newRow("FIFO with a writer") << "FIFO+writer"
                                        << "it is a FIFO";
    QTest::newRow("character device") << "device"
                                      << "it is a device";
    QTest::newRow("/dev/zero") << "/dev/zero"
                               << "it is a device";
    QTest::newRow("folder") << "folder"
                            << "it is a folder";
    QTest::newRow("over 512 MiB") << "large"
                                  << "larger than 512 MiB";
}

void TestFiles::readsOnlyRegularFiles() {
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("file"));
    std::optional<SpecialFile> special;
    if (kind == QLatin1String("regular"))
        QVERIFY(writeFile(path, OldBytes));
    else if (kind == QLatin1String("large"))
        QVERIFY(makeSized(path, SceneSizeLimit + 1));
    else if (kind.startsWith(QLatin1Char('/')))
        path = kind;
    else if (kind != QLatin1String("missing") && !special.emplace(kind, path).error.isEmpty())
        QSKIP(qPrintable(special->error));
    const FileRead read = readWholeFile(path);

    QCOMPARE(read.error.isEmpty(), error.isEmpty());
    QVERIFY2(read.error.contains(error), qPrintable(read.error));
    if (!error.isEmpty())
        QVERIFY(read.error.contains(path));
    QCOMPARE(read.bytes, error.isEmpty() ? OldBytes : QByteArray());
}

void TestFiles::writesLikeAnEditor_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("error"); // empty: written

    QTest::newRow("missing file") << "missing" << 0644 << "";
    QTest::newRow("regular, 0640") << "regular" << 0640 << "";
    // Root may write any file; anyone else keeps a read-only file as it is.
    QTest::newRow("regular, read-only")
        << "regular" << 0444 << (::geteuid() == 0 ? "" : "Permission denied");
    QTest::newRow("another user's file") << "nobody's" << 0604 << "";
    QTest::newRow("link") << "link" << 0600 << "";
    QTest::newRow("dangling link") << "dangling link" << 0644 << "";
    QTest::newRow("two hard links") << "hard links" << 0640 << "";
    QTest::newRow("name of 255 bytes") << "long name" << 0644 << "";
    QTest::newRow("name of 256 bytes") << "too long name" << 0 << "File name too long";
    QTest::newRow("character device") << "device" << 0666 << "";
    QTest::newRow("FIFO without a reader") << "FIFO" << 0644 << "No such device or address";
    QTest::newRow("folder") << "folder" << 0755 << "it is a folder";
    QTest::newRow("missing folder") << "missing folder" << 0 << "No such file or directory";
}

// Whatever the target, only it changes: its kind, permissions, owner and links stay.
void TestFiles::writesLikeAnEditor() {
    QFETCH(QString, kind);
    QFETCH(int, mode);
    QFETCH(QString, error);
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("file.wrl"));
    QString real = path; // the file that takes the text
    if (kind == QLatin1String("long name") || kind == QLatin1String("too long name"))
        path = real = folder.filePath(
            QString(kind.startsWith(QLatin1Char('l')) ? 251 : 252, QLatin1Char('n')) +
            QStringLiteral(".wrl"));
    if (kind == QLatin1String("missing folder"))
        path = real = folder.filePath(QStringLiteral("missing/file.wrl"));
    const bool special = QStringList{"device", "FIFO", "folder"}.contains(kind);
    std::optional<SpecialFile> made;
    if (special) {
        if (!made.emplace(kind, path).error.isEmpty())
            QSKIP(qPrintable(made->error));
    } else if (kind.contains(QLatin1String("link"))) {
        real = folder.filePath(QStringLiteral("target.wrl"));
        if (kind != QLatin1String("dangling link"))
            QVERIFY(writeFile(real, OldBytes));
        const auto link = kind == QLatin1String("hard links") ? ::link : ::symlink;
        QCOMPARE(link(name(real).constData(), name(path).constData()), 0);
    } else if (!kind.startsWith(QLatin1String("missing"))) {
        writeFile(path, OldBytes);
    }
    if (kind == QLatin1String("nobody's")) {
        if (::geteuid() != 0)
            QSKIP("only root may give a file to another user");
        QCOMPARE(::chown(name(path).constData(), Nobody, Nobody), 0);
    }
    ::chmod(name(real).constData(), mode_t(mode));
    const struct stat before = statOf(path);
    const struct stat targetBefore = statOf(real);
    const QStringList names =
        QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);

    const QString written = writeWholeFile(path, NewBytes);

    QVERIFY2(written.contains(error) && written.isEmpty() == error.isEmpty(), qPrintable(written));
    QCOMPARE(strayFiles(folder.path(), names + QStringList{QFileInfo(real).fileName()}),
             QStringList());
    const struct stat after = statOf(path);
    const struct stat target = statOf(real);
    if (before.st_mode != 0) { // the path itself, a link included, stays what it was
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_nlink, before.st_nlink);
    }
    if (targetBefore.st_mode == 0 && error.isEmpty()) {
        QCOMPARE(target.st_mode, mode_t(S_IFREG | 0644)); // 0666 less the umask 022
        QCOMPARE(target.st_uid, ::geteuid());
    } else {
        QCOMPARE(target.st_mode, targetBefore.st_mode);
        QCOMPARE(target.st_uid, targetBefore.st_uid);
        QCOMPARE(target.st_gid, targetBefore.st_gid);
    }
    if (!special)
        QCOMPARE(contents(real), error.isEmpty()                 ? NewBytes
                                 : S_ISREG(targetBefore.st_mode) ? OldBytes
                                                                 : QByteArray("<missing>"));
}

// Saved where the user may write the file but not create one beside it.
void TestFiles::writesInPlaceWhereNoFileCanBeCreated() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("file.wrl"));
    QVERIFY(writeFile(path, OldBytes));
    ::chmod(name(path).constData(), 0666);
    ::chmod(name(folder.path()).constData(), 0555);
    if (::geteuid() == 0)
        ::seteuid(Nobody);
    const QString written = writeWholeFile(path, NewBytes);
    ::seteuid(0);
    ::chmod(name(folder.path()).constData(), 0755);

    QCOMPARE(written, QString());
    QCOMPARE(contents(path), NewBytes);
    QCOMPARE(strayFiles(folder.path(), {QStringLiteral("file.wrl")}), QStringList());
}

void TestFiles::fullDisk_data() {
    QTest::addColumn<bool>("hardLinked");
    QTest::newRow("replaced") << false;
    QTest::newRow("written in place") << true;
}

// The disk fills up: the reason is named and the old file stays whole.
void TestFiles::fullDisk() {
    QFETCH(bool, hardLinked);
    SmallDisk disk;
    if (!disk.mounted)
        QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs: %1").arg(qt_error_string())));
    const QString path = disk.folder.filePath(QStringLiteral("file.wrl"));
    QVERIFY(writeFile(path, OldBytes));
    if (hardLinked)
        QCOMPARE(::link(name(path).constData(), name(path + QLatin1Char('2')).constData()), 0);

    const QString written = writeWholeFile(path, QByteArray(256 * 1024, 'x'));

    QVERIFY2(written.contains(QLatin1String("No space left on device")), qPrintable(written));
    QCOMPARE(contents(path), OldBytes);
    QCOMPARE(
        strayFiles(disk.folder.path(), {QStringLiteral("file.wrl"), QStringLiteral("file.wrl2")}),
        QStringList());
}

void TestFiles::startUpGoesOnWithoutFilesItCannotUse_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");
    for (const char* file : {"lang.txt", "proto.wrl"}) {
        QTest::addRow("%s, FIFO", file) << file << "FIFO"
                                        << "it is a FIFO";
        QTest::addRow("%s, over 16 MiB", file) << file << "large"
                                               << "larger than 16 MiB";
    }
}

void TestFiles::startUpGoesOnWithoutFilesItCannotUse() {
    QFETCH(QString, file);
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QTemporaryDir folder;
    const QString path = folder.filePath(file);
    std::optional<SpecialFile> fifo;
    QVERIFY(kind == QLatin1String("FIFO") ? fifo.emplace(kind, path).error.isEmpty()
                                          : makeSized(path, TextFileSizeLimit + 1));

    TestEditor t(folder.path());

    QCOMPARE(t.dialogs.errors.size(), 1);
    QVERIFY2(t.dialogs.errors[0].contains(error), qPrintable(t.dialogs.errors[0]));
    QCOMPARE(t.s.texts.MessageTexts, TextTables::builtIn().MessageTexts);
    QCOMPARE(t.s.prototyp, frontCornerLibrary());
}

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
