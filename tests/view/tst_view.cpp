#include "vrml/Libraries.h"
#include "vrml/TextLines.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace modulino;

namespace {

enum class Corner { Front, Back };

struct Piece {
    const char* tvar;
    const char* geometry;
    double rx, ry, rz, x, y, z;
};

// One piece of every shape, each with its own sizes and place.
const Piece Pieces[] = {
    {"krychle", "Box", 1.0, 1.0, 0.5, -6.0, 0.0, 0.0},
    {"kvadr", "Box", 1.5, 1.5, 0.8, -4.0, 1.0, -0.5},
    {"valec", "Cylinder", 2.0, 2.0, 1.0, -2.0, 0.0, -1.0},
    {"kuzel", "Cone", 2.5, 1.0, 1.2, 0.0, 1.0, -1.5},
    {"koule", "Sphere", 3.0, 1.5, 1.5, 2.0, 0.0, -2.0},
    {"jehlan", "IndexedFaceSet", 3.5, 2.0, 1.8, 4.0, 1.0, -2.5},
    {"hranol", "IndexedFaceSet", 4.0, 1.0, 2.0, 6.0, 0.0, -3.0},
};

QByteArray sceneText(const QByteArrayList& library) {
    QByteArray text = library.join("\r\n") + "\r\nBackground { skyColor  0.80 0.80 1.00}\r\n";
    int flag = 0;
    for (const Piece& p : Pieces) {
        text += QStringLiteral("Dilek { velikost %1 %2 %3 poloha %4 %5 %6 tvar \"%7\" povrch "
                               "0.50 0.25 1.00 ovltransp %8 }\r\n")
                    .arg(p.rx)
                    .arg(p.ry)
                    .arg(p.rz)
                    .arg(p.x)
                    .arg(p.y)
                    .arg(p.z)
                    .arg(QLatin1StringView(p.tvar))
                    .arg(flag++ % 2)
                    .toLatin1();
    }
    return text;
}

// A library of the user's own: the front-corner one with a comment in the file's 8-bit text and
// each piece scaled about its back face instead of its front face, so it spans z..z+rz.
QByteArrayList ownLibrary() {
    QByteArrayList lines = frontCornerLibrary();
    lines.insert(1, encode1250(QStringLiteral("# Moje knihovna dílků: kvádry stojí vzadu")));
    for (QByteArray& line : lines)
        line.replace("center 0 0 1", "center 0 0 0");
    return lines;
}

// zShift: where z..z+rz starts, counted from the piece's z, when the back face is fixed.
QStringList expectedLines(Corner corner, double zShift) {
    QStringList lines;
    for (const Piece& p : Pieces) {
        const double zMin = corner == Corner::Front ? p.z + 1 - p.rz : p.z + zShift;
        QStringList cells{QString::number(lines.size() + 1), QLatin1StringView(p.tvar),
                          QLatin1StringView(p.geometry)};
        for (double n : {p.x, p.y, zMin, p.x + p.rx, p.y + p.ry, zMin + p.rz})
            cells << QString::number(n, 'f', 3);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines;
}

// The same scene with its third piece gone, its fifth changed and one piece more.
QByteArray editedSceneText() {
    QByteArrayList lines = sceneText(frontCornerLibrary()).split('\n');
    const qsizetype firstPiece = lines.indexOf("Background { skyColor  0.80 0.80 1.00}\r") + 1;
    lines[firstPiece + 4].replace("koule", "kuzel");
    lines.removeAt(firstPiece + 2);
    lines.insert(firstPiece + 5, "Dilek { velikost 1 1 1 poloha 9 9 9 tvar \"valec\" povrch 1 1 1 "
                                 "ovltransp 0 }\r");
    return lines.join('\n');
}

// The next outcome a viewer window reports: "shown" or "message".
QByteArray nextOutcome(QProcess* viewer) {
    while (!viewer->canReadLine()) {
        if (!viewer->waitForReadyRead(30000))
            return {};
    }
    return viewer->readLine().split('\t').value(0).trimmed();
}

} // namespace

// modulino-view under a display (xvfb-run): --probe reports what X_ITE made of each piece.
class TestView : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void probe_data();
    void probe();
    void probeAfterChange_data();
    void probeAfterChange();
    void probeFails_data();
    void probeFails();
    void xitePatchesApplied();
    void windowFollowsFile();
    void secondViewerHandsOver();

private:
    QProcess* start(const QStringList& arguments);
    QString writeFile(const QString& name, const QByteArray& bytes);

    QTemporaryDir dir;
};

void TestView::initTestCase() {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("modulino-view draws with WebGL: run under xvfb-run");
    QVERIFY(dir.isValid());
}

QProcess* TestView::start(const QStringList& arguments) {
    auto* process = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("TMPDIR"), dir.path()); // a hand-off server of the test's own
    env.insert(QStringLiteral("MODULINO_VIEW_TIMINGS"), QStringLiteral("1"));
    process->setProcessEnvironment(env);
    process->start(QStringLiteral(MODULINO_VIEW_PROGRAM), arguments);
    return process;
}

QString TestView::writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestView::probe_data() {
    QTest::addColumn<QByteArrayList>("library");
    QTest::addColumn<Corner>("corner");
    QTest::addColumn<double>("zShift"); // where z..z+rz starts, counted from the back corner

    QTest::newRow("front corner") << frontCornerLibrary() << Corner::Front << 0.0;
    QTest::newRow("back corner") << backCornerLibrary() << Corner::Back << -1.0;
    QTest::newRow("own library") << ownLibrary() << Corner::Back << 0.0;
}

void TestView::probe() {
    QFETCH(QByteArrayList, library);
    QFETCH(Corner, corner);
    QFETCH(double, zShift);

    QProcess* viewer = start(
        {QStringLiteral("--probe"), writeFile(QStringLiteral("scene.wrl"), sceneText(library))});
    QVERIFY(viewer->waitForFinished(60000));
    QCOMPARE(viewer->exitCode(), 0);

    QCOMPARE(QString::fromUtf8(viewer->readAllStandardOutput())
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             expectedLines(corner, zShift));
}

// A file rewritten on disk shows as if opened afresh, whether only pieces or the library changed.
void TestView::probeAfterChange_data() {
    QTest::addColumn<QByteArray>("before");

    QTest::newRow("pieces edited") << editedSceneText();
    QTest::newRow("library changed") << sceneText(backCornerLibrary());
}

void TestView::probeAfterChange() {
    QFETCH(QByteArray, before);

    const QString file = writeFile(QStringLiteral("after.wrl"), sceneText(frontCornerLibrary()));
    QProcess* viewer = start({QStringLiteral("--probe"), file, QStringLiteral("--reload-from"),
                              writeFile(QStringLiteral("before.wrl"), before)});
    QVERIFY(viewer->waitForFinished(60000));
    QCOMPARE(viewer->exitCode(), 0);
    QCOMPARE(QString::fromUtf8(viewer->readAllStandardOutput())
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             expectedLines(Corner::Front, 0));
}

void TestView::probeFails_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");

    const QByteArray whole = sceneText(frontCornerLibrary());
    QTest::newRow("truncated") << writeFile(QStringLiteral("cut.wrl"), whole.left(whole.size() / 2))
                               << 1;
    QTest::newRow("missing") << dir.filePath(QStringLiteral("none.wrl")) << 2;
}

void TestView::probeFails() {
    QFETCH(QString, file);
    QFETCH(int, exitCode);

    QProcess* viewer = start({QStringLiteral("--probe"), file});
    QVERIFY(viewer->waitForFinished(60000));
    QCOMPARE(viewer->exitCode(), exitCode);
    QVERIFY(viewer->readAllStandardOutput().isEmpty());
    QVERIFY(!viewer->readAllStandardError().trimmed().isEmpty());
}

// Every patch in patches/x_ite is in place in the page, each shown by a fact it makes observable
// (two pieces sharing one sphere, ...): a patch that failed to apply cannot pass unnoticed.
void TestView::xitePatchesApplied() {
    QStringList expected;
    for (const QString& patch :
         QDir(QStringLiteral(MODULINO_SOURCE_DIR "/patches/x_ite"))
             .entryList({QStringLiteral("*.patch")}, QDir::Files, QDir::Name))
        expected << patch.chopped(6) + QStringLiteral("\tapplied");
    QVERIFY(!expected.isEmpty());

    QProcess* viewer =
        start({QStringLiteral("--probe"), QStringLiteral("--patches"),
               writeFile(QStringLiteral("patched.wrl"), sceneText(frontCornerLibrary()))});
    QVERIFY(viewer->waitForFinished(60000));
    QCOMPARE(viewer->exitCode(), 0);
    QCOMPARE(QString::fromUtf8(viewer->readAllStandardOutput())
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             expected);
}

// A window that shows why a file did not load shows it again once the file is mended.
void TestView::windowFollowsFile() {
    const QByteArray whole = sceneText(frontCornerLibrary());
    const QString file = writeFile(QStringLiteral("mended.wrl"), whole.left(whole.size() / 2));
    QProcess* viewer = start({file});
    QCOMPARE(nextOutcome(viewer), QByteArray("message"));
    writeFile(QStringLiteral("mended.wrl"), whole);
    QCOMPARE(nextOutcome(viewer), QByteArray("shown"));
    viewer->terminate();
    QVERIFY(viewer->waitForFinished(10000));
}

// A second viewer for a file already shown gives it to the first, which reloads it, and ends.
void TestView::secondViewerHandsOver() {
    const QString file = writeFile(QStringLiteral("shown.wrl"), sceneText(frontCornerLibrary()));
    QProcess* first = start({file});
    QCOMPARE(nextOutcome(first), QByteArray("shown"));

    QProcess* second = start({file});
    QVERIFY(second->waitForFinished(10000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(nextOutcome(first), QByteArray("shown")); // the first window reloaded its file

    first->terminate();
    QVERIFY(first->waitForFinished(10000));
}

QTEST_GUILESS_MAIN(TestView)
#include "tst_view.moc"
