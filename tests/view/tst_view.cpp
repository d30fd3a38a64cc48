#include "vrml/Libraries.h"
#include "vrml/TextLines.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

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

// Each piece's povrch: its red part tells the pieces apart.
std::array<double, 3> colour(int index) {
    return {0.1 * (index + 1), 0.25, 1.0};
}

// copies: how many times the seven pieces follow one another, each time 10 higher; a scene of more
// than 50 pieces is drawn by stand-ins, which must show and export the same.
QByteArray sceneText(const QByteArrayList& library, int copies = 1) {
    QByteArray text = library.join("\r\n") + "\r\nBackground { skyColor  0.80 0.80 1.00}\r\n";
    for (int i = 0; i < 7 * copies; ++i) {
        const Piece& p = Pieces[i % 7];
        text += QStringLiteral("Dilek { velikost %1 %2 %3 poloha %4 %5 %6 tvar \"%7\" povrch "
                               "%9 0.25 1.00 ovltransp %8 }\r\n")
                    .arg(p.rx)
                    .arg(p.ry)
                    .arg(p.rz)
                    .arg(p.x)
                    .arg(p.y + 10 * (i / 7))
                    .arg(p.z)
                    .arg(QLatin1StringView(p.tvar))
                    .arg(i % 7 % 2)
                    .arg(colour(i % 7)[0], 0, 'f', 2)
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
QStringList expectedLines(Corner corner, double zShift, int copies = 1) {
    QStringList lines;
    for (int i = 0; i < 7 * copies; ++i) {
        const Piece& p = Pieces[i % 7];
        const double zMin = corner == Corner::Front ? p.z + 1 - p.rz : p.z + zShift;
        QStringList cells{QString::number(lines.size() + 1), QLatin1StringView(p.tvar),
                          QLatin1StringView(p.geometry)};
        const double y = p.y + 10 * (i / 7); // each copy 10 higher
        for (double n : {p.x, y, zMin, p.x + p.rx, y + p.ry, zMin + p.rz})
            cells << QString::number(n, 'f', 3);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines;
}

// The same scene with its third piece gone, its fifth changed and one piece more.
QByteArray editedSceneText(int copies = 1) {
    QByteArrayList lines = sceneText(frontCornerLibrary(), copies).split('\n');
    const qsizetype firstPiece = lines.indexOf("Background { skyColor  0.80 0.80 1.00}\r") + 1;
    lines[firstPiece + 4].replace("koule", "kuzel");
    lines.removeAt(firstPiece + 2);
    lines.insert(firstPiece + 5, "Dilek { velikost 1 1 1 poloha 9 9 9 tvar \"valec\" povrch 1 1 1 "
                                 "ovltransp 0 }\r");
    return lines.join('\n');
}

// A piece as an export holds it: its name, then its colour and its bounding box in scene units
// (min, max), each number to 0.01.
QString pieceLine(const QString& name, const QList<double>& numbers) {
    QStringList cells{name};
    for (double n : numbers)
        cells << QString::number(std::abs(n) < 0.005 ? 0.0 : n, 'f', 2);
    return cells.join(QLatin1Char(' '));
}

QStringList expectedPieces(Corner corner, double zShift, int copies) {
    QStringList pieces;
    for (const QString& line : expectedLines(corner, zShift, copies)) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        const auto [r, g, b] = colour(int(pieces.size()) % 7);
        QList<double> numbers{r, g, b};
        for (const QString& cell : cells.mid(3))
            numbers << cell.toDouble();
        pieces << pieceLine(cells[0] + QLatin1Char(' ') + cells[1], numbers);
    }
    return pieces;
}

struct Box {
    QList<double> extent{1e9, 1e9, 1e9, -1e9, -1e9, -1e9};
    void add(double x, double y, double z) {
        for (int k = 0; const double c : {x, y, z}) {
            extent[k] = std::min(extent[k], c);
            extent[k + 3] = std::max(extent[k + 3], c);
            ++k;
        }
    }
};

// Each node of a glTF file (or a GLB's JSON chunk); triangles gets the number of each one's.
QStringList gltfPieces(const QByteArray& file, QList<int>* triangles = nullptr) {
    const QByteArray json =
        file.startsWith("glTF") ? file.mid(20, qFromLittleEndian<quint32>(file.data() + 12)) : file;
    const QJsonObject gltf = QJsonDocument::fromJson(json).object();
    const auto item = [&](const char* kind, const QJsonValue& index) {
        return gltf[QLatin1StringView(kind)][index.toInt()];
    };
    QStringList pieces;
    for (const QJsonValue node : gltf[QStringLiteral("nodes")].toArray()) {
        const QJsonValue primitive = item("meshes", node["mesh"])["primitives"][0];
        const QJsonValue positions = item("accessors", primitive["attributes"]["POSITION"]);
        const QJsonValue colour =
            item("materials", primitive["material"])["pbrMetallicRoughness"]["baseColorFactor"];
        QList<double> numbers;
        for (int k = 0; k < 3; ++k) { // the colour back from linear to sRGB
            const double c = colour[k].toDouble();
            numbers << (c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055);
        }
        for (const char* end : {"min", "max"})
            for (int k = 0; k < 3; ++k)
                numbers << positions[QLatin1StringView(end)][k].toDouble();
        pieces << pieceLine(node["name"].toString(), numbers);
        if (triangles)
            *triangles << positions["count"].toInt() / 3;
    }
    return pieces;
}

QStringList x3dPieces(const QByteArray& file) {
    QStringList pieces;
    QString name;
    QList<double> colour;
    QXmlStreamReader xml(file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        QList<double> numbers;
        for (const char* attribute : {"diffuseColor", "point"})
            for (const QString& n : xml.attributes()
                                        .value(QLatin1StringView(attribute))
                                        .toString()
                                        .split(' ', Qt::SkipEmptyParts))
                numbers << n.toDouble();
        if (xml.name() == QStringLiteral("Shape"))
            name = xml.attributes().value("DEF").toString().sliced(6).replace('_', ' ');
        else if (xml.name() == QStringLiteral("Material"))
            colour = numbers;
        else if (xml.name() == QStringLiteral("Coordinate")) {
            Box box;
            for (qsizetype i = 0; i + 2 < numbers.size(); i += 3)
                box.add(numbers[i], numbers[i + 1], numbers[i + 2]);
            pieces << pieceLine(name, colour + box.extent);
        }
    }
    return pieces;
}

// The STL's triangles shared out in the glTF pieces' order and counts, back in scene units and
// axes; empty when a stored normal, or the volume a piece encloses, shows it turned inside out.
QStringList stlPieces(const QByteArray& file, const QStringList& gltf, const QList<int>& triangles,
                      double scale) {
    QStringList pieces;
    const char* triangle = file.constData() + 84;
    for (qsizetype i = 0; i < gltf.size(); ++i) {
        double volume = 0;
        Box box;
        for (int t = 0; t < triangles[i]; ++t, triangle += 50) {
            std::array<double, 12> v; // the normal and three corners
            for (int k = 0; k < 12; ++k)
                v[k] = qFromLittleEndian<float>(triangle + 4 * k) / (k < 3 ? 1 : scale);
            const double a[] = {v[6] - v[3], v[7] - v[4], v[8] - v[5]};
            const double b[] = {v[9] - v[3], v[10] - v[4], v[11] - v[5]};
            const double face[] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                   a[0] * b[1] - a[1] * b[0]};
            if (face[0] * v[0] + face[1] * v[1] + face[2] * v[2] <= 0)
                return {};
            volume += face[0] * v[3] + face[1] * v[4] + face[2] * v[5];
            for (int c = 3; c < 12; c += 3) // Z up in the file
                box.add(v[c], v[c + 2], -v[c + 1]);
        }
        const auto [r, g, b] = colour(int(i) % 7);
        if (volume <= 0)
            return {};
        pieces << pieceLine(gltf[i].section(' ', 0, 1), QList<double>{r, g, b} + box.extent);
    }
    return pieces;
}

// The output of a program that ran to exit 0, or a null array.
QByteArray output(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAll() + ' ';
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
    void exportScene_data();
    void exportScene();
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
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"),
               dir.path()); // a hand-off server of the test's own
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

    QTest::addColumn<int>("copies");

    for (int copies : {1, 8}) {
        const char* drawn = copies == 1 ? "" : ", stand-ins";
        QTest::addRow("front corner%s", drawn)
            << frontCornerLibrary() << Corner::Front << 0.0 << copies;
        QTest::addRow("back corner%s", drawn)
            << backCornerLibrary() << Corner::Back << -1.0 << copies;
        QTest::addRow("own library%s", drawn) << ownLibrary() << Corner::Back << 0.0 << copies;
    }
}

void TestView::exportScene_data() {
    QTest::addColumn<QByteArrayList>("library");
    QTest::addColumn<Corner>("corner");
    QTest::addColumn<double>("zShift");
    QTest::addColumn<int>("copies");

    QTest::newRow("front corner") << frontCornerLibrary() << Corner::Front << 0.0 << 1;
    QTest::newRow("back corner") << backCornerLibrary() << Corner::Back << -1.0 << 1;
    QTest::newRow("own library") << ownLibrary() << Corner::Back << 0.0 << 1;
    QTest::newRow("own library, stand-ins") << ownLibrary() << Corner::Back << 0.0 << 8;
}

void TestView::probe() {
    QFETCH(QByteArrayList, library);
    QFETCH(Corner, corner);
    QFETCH(double, zShift);
    QFETCH(int, copies);

    QProcess* viewer = start({QStringLiteral("--probe"),
                              writeFile(QStringLiteral("scene.wrl"), sceneText(library, copies))});
    QVERIFY(viewer->waitForFinished(60000));
    QCOMPARE(viewer->exitCode(), 0);

    QCOMPARE(QString::fromUtf8(viewer->readAllStandardOutput())
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             expectedLines(corner, zShift, copies));
}

// A file rewritten on disk shows as if opened afresh, whether only pieces or the library changed,
// in a scene drawn by instances or by stand-ins, where another scene of the same library keeps
// what it can of the last one.
void TestView::probeAfterChange_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("copies");

    QByteArray recoloured = sceneText(frontCornerLibrary(), 9);
    recoloured.replace("0.25 1.00", "0.75 1.00");
    QByteArray seventhEdited = sceneText(frontCornerLibrary(), 8);
    seventhEdited.replace("tvar \"kvadr\"", "tvar \"krychle\"");
    QTest::newRow("pieces edited") << editedSceneText() << 1;
    QTest::newRow("library changed") << sceneText(backCornerLibrary()) << 1;
    QTest::newRow("stand-ins, pieces edited") << editedSceneText(8) << 8;
    QTest::newRow("stand-ins, a seventh of the pieces edited") << seventhEdited << 8;
    QTest::newRow("stand-ins, another scene") << recoloured << 8;
    QTest::newRow("stand-ins after a few pieces") << sceneText(frontCornerLibrary()) << 8;
}

void TestView::probeAfterChange() {
    QFETCH(QByteArray, before);
    QFETCH(int, copies);

    const QString file =
        writeFile(QStringLiteral("after.wrl"), sceneText(frontCornerLibrary(), copies));
    QProcess* viewer = start({QStringLiteral("--probe"), file, QStringLiteral("--reload-from"),
                              writeFile(QStringLiteral("before.wrl"), before)});
    QVERIFY(viewer->waitForFinished(60000));
    QCOMPARE(viewer->exitCode(), 0);
    QCOMPARE(QString::fromUtf8(viewer->readAllStandardOutput())
                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             expectedLines(Corner::Front, 0, copies));
}

// --export fails as --probe does, and also for an OUT it cannot write, which it leaves alone.
void TestView::probeFails_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out"); // empty for --probe

    const QByteArray whole = sceneText(frontCornerLibrary());
    const QString cut = writeFile(QStringLiteral("cut.wrl"), whole.left(whole.size() / 2));
    const QString missing = dir.filePath(QStringLiteral("none.wrl"));
    const QString out = dir.filePath(QStringLiteral("failed.glb"));
    QTest::newRow("truncated") << cut << 1 << QString();
    QTest::newRow("missing") << missing << 2 << QString();
    QTest::newRow("export truncated") << cut << 1 << out;
    QTest::newRow("export missing") << missing << 2 << out;
    const QString scene = writeFile(QStringLiteral("whole.wrl"), whole);
    QTest::newRow("export to no folder") << scene << 2 << dir.filePath(QStringLiteral("no/a.stl"));
    QTest::newRow("export to no format") << scene << 2 << dir.filePath(QStringLiteral("a.obj"));
}

void TestView::probeFails() {
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(QString, out);

    QProcess* viewer = start(out.isEmpty() ? QStringList{QStringLiteral("--probe"), file}
                                           : QStringList{QStringLiteral("--export"), out, file});
    QVERIFY(viewer->waitForFinished(60000));
    QCOMPARE(viewer->exitCode(), exitCode);
    QVERIFY(!QFile::exists(out));
    QVERIFY(viewer->readAllStandardOutput().isEmpty());
    QVERIFY(!viewer->readAllStandardError().trimmed().isEmpty());
}

// Each export is read back by independent readers and holds the pieces as --probe sees them.
void TestView::exportScene() {
    QFETCH(QByteArrayList, library);
    QFETCH(Corner, corner);
    QFETCH(double, zShift);
    QFETCH(int, copies);

    const QString scene = writeFile(QStringLiteral("export.wrl"), sceneText(library, copies));
    std::map<QString, QByteArray> files;
    for (const QString suffix : {"glb", "gltf", "stl", "x3d"}) {
        const QString out = dir.filePath(QStringLiteral("scene.") + suffix);
        QProcess* viewer =
            start({QStringLiteral("--export"), out, scene, QStringLiteral("--scale"), "25"});
        QVERIFY(viewer->waitForFinished(60000));
        QCOMPARE(viewer->exitCode(), 0);
        const QByteArray info = output(QStringLiteral("assimp"), {QStringLiteral("info"), out});
        // assimp joins the shapes of an X3D file that have one material (the seven colours).
        const int meshes = suffix == QStringLiteral("stl")   ? 1
                           : suffix == QStringLiteral("x3d") ? 7
                                                             : 7 * copies;
        QVERIFY2(info.contains(QStringLiteral("Meshes:             %1\n").arg(meshes).toLatin1()),
                 info.right(1000).constData());
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        files[suffix] = file.readAll();
        const QString validate = QStringLiteral(
            "require(process.argv[1]).validateBytes(new Uint8Array(require('fs').readFileSync("
            "process.argv[2]))).then(r => process.exit(r.issues.numErrors))");
        if (suffix.startsWith(QStringLiteral("gl")))
            QVERIFY(
                !output(QStringLiteral("node"),
                        {QStringLiteral("-e"), validate,
                         QStringLiteral(MODULINO_SOURCE_DIR "/node_modules/gltf-validator"), out})
                     .isNull());
    }

    const QStringList expected = expectedPieces(corner, zShift, copies);
    QList<int> triangles;
    const QStringList glb = gltfPieces(files["glb"], &triangles);
    QCOMPARE(glb, expected);
    QCOMPARE(gltfPieces(files["gltf"]), expected);
    QCOMPARE(x3dPieces(files["x3d"]), expected);
    QCOMPARE(stlPieces(files["stl"], glb, triangles, 25), expected);
    QCOMPARE(qFromLittleEndian<quint32>(files["stl"].constData() + 80) * 50 + 84,
             quint32(files["stl"].size()));
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
