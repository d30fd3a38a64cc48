#include "TestEditor.h"
#include "vrml/SceneWriter.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace modulino;

namespace {

// Every shape keyword but the default "krychle".
const char* const Keywords[] = {"kvadr", "valec", "kuzel", "koule", "jehlan", "hranol"};

// One piece of each shape, each with its own sizes, place, colour and controls flag. The sizes
// come first: the shape check turns a cuboid of equal sizes into a cube.
void addEveryShape(TestEditor& t) {
    PieceEditing& editing = t.editor.editing;
    for (int k = 0; k < 7; ++k) {
        editing.PridejClick();
        if (k > 0) {
            for (int i = 0; i < k; ++i)
                editing.pressUpDown(UpDownId::UDry, +1);
            editing.pressUpDown(UpDownId::UDrz, +1);
        }
        editing.TvarChange(k);
        for (int i = 0; i < 3 * k; ++i) {
            editing.pressUpDown(UpDownId::UDx, i % 2 ? +1 : -1);
            editing.pressUpDown(UpDownId::UDz, +1);
        }
        t.dialogs.colourAnswers << rgb(30 * k, 255 - 30 * k, 128);
        editing.Shape1MouseDown();
        editing.setCBovl(k % 2 == 0);
    }
}

} // namespace

// Composed scenes must load in a real VRML 2.0 reader without a single complaint.
class TestToVrmlX3d : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void sceneLoads_data();
    void sceneLoads();

private:
    QString converter;
};

void TestToVrmlX3d::initTestCase() {
    converter = QStandardPaths::findExecutable(QStringLiteral("tovrmlx3d"));
    if (converter.isEmpty())
        QSKIP("tovrmlx3d (Debian package view3dscene) is not installed");
}

void TestToVrmlX3d::sceneLoads_data() {
    QTest::addColumn<bool>("pieces");
    QTest::addColumn<int>("cornerClicks"); // 1: the back-corner library, 2: the spare front copy
    QTest::addColumn<int>("axisOrder");
    QTest::addColumn<bool>("hideControls");
    QTest::addColumn<QStringList>("otherShapes"); // names outside the seven, as a file gave them

    QTest::newRow("front corner") << true << 0 << 0 << false << QStringList();
    QTest::newRow("back corner") << true << 1 << 0 << false << QStringList();
    QTest::newRow("spare front corner") << true << 2 << 0 << false << QStringList();
    QTest::newRow("front corner, yzx, controls hidden") << true << 0 << 2 << true << QStringList();
    QTest::newRow("back corner, xzy, controls hidden") << true << 1 << 1 << true << QStringList();
    QTest::newRow("empty, front corner") << false << 0 << 0 << false << QStringList();
    QTest::newRow("unknown shapes")
        << true << 0 << 0 << false << QStringList{"Krychle", R"(a"b\c)", "kvádr ", ""};
    QTest::newRow("empty, back corner") << false << 1 << 0 << false << QStringList();
}

void TestToVrmlX3d::sceneLoads() {
    QFETCH(bool, pieces);
    QFETCH(int, cornerClicks);
    QFETCH(int, axisOrder);
    QFETCH(bool, hideControls);
    QFETCH(QStringList, otherShapes);

    TestEditor t;
    if (pieces)
        addEveryShape(t);
    for (const QString& name : otherShapes) {
        t.editor.editing.PridejClick();
        t.s.SGDilky.setCell(PieceTable::ShapeColumn, t.s.SGDilky.rowCount() - 1, name);
    }
    if (cornerClicks >= 1)
        t.editor.panels.Image1Click();
    if (cornerClicks >= 2)
        t.editor.panels.Image2Click();
    t.editor.panels.ImXYZClick(axisOrder);
    t.s.CBSkryt = hideControls;
    t.dialogs.saveAnswers << t.folder.filePath(QStringLiteral("scene.wrl"));
    t.editor.commands.Uloitjako1Click();
    QVERIFY(t.dialogs.allAnswered());

    QProcess process;
    process.setWorkingDirectory(t.folder.path());
    process.start(converter, {QStringLiteral("scene.wrl")});
    QVERIFY(process.waitForFinished(120000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    for (const QString& line : (out + QLatin1Char('\n') + err).split(QLatin1Char('\n')))
        QVERIFY2(!line.contains(QLatin1String("Warning")) && !line.contains(QLatin1String("Error")),
                 qPrintable(line));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    QVERIFY(out.contains(QLatin1String("skyColor 0.8")));
    // The converter leaves out fields that keep their defaults, such as tvar "krychle".
    QCOMPARE(out.count(QLatin1String("\nDilek {\n")), pieces ? 7 + otherShapes.size() : 0);
    QCOMPARE(out.count(QLatin1String("\n\ttvar \"Krychle\"\n")), otherShapes.isEmpty() ? 0 : 1);
    for (const char* keyword : Keywords)
        QCOMPARE(out.contains(QStringLiteral("\n\ttvar \"%1\"\n").arg(QLatin1String(keyword))),
                 pieces);
}

QTEST_GUILESS_MAIN(TestToVrmlX3d)
#include "tst_tovrmlx3d.moc"
