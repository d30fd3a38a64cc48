#include "TestEditor.h"

#include "vrml/Libraries.h"

#include <QFile>
#include <QTest>

using namespace modulino;

class OptionPanelsTest : public QObject {
    Q_OBJECT
private slots:
    void startState();
    void helpPanel();
    void coveringPanel();
    void cornerPicturesSwitchLibraries();
    void questionMarkRestoresCornerLibrary();
    void conventionPanel_data();
    void conventionPanel();
    void pointingPreviewsConvention();
    void protoFileComesBackFromFrontCorner();
};

void OptionPanelsTest::startState() {
    TestEditor t;
    QVERIFY(t.s.volbyVisible);
    QVERIFY(!t.s.BackCornerMode);
    QVERIFY(!t.s.lbBodVisible);
    QVERIFY(!t.s.polohaVisible);
    QVERIFY(t.s.Image3HintOn);
    QVERIFY(!t.s.PHelpVisible);
    QCOMPARE(t.s.AxisOrder, 0);
    QCOMPARE(t.s.prototyp, frontCornerLibrary());
}

void OptionPanelsTest::helpPanel() {
    TestEditor t;
    t.editor.panels.Npovda1Click();
    QVERIFY(t.s.PHelpVisible);
    t.editor.panels.Npovda1Click();
    QVERIFY(t.s.PHelpVisible);
    t.editor.panels.BitBtn1Click();
    QVERIFY(!t.s.PHelpVisible);
    QVERIFY(t.s.SceneSaved);
}

void OptionPanelsTest::coveringPanel() {
    TestEditor t;
    t.editor.panels.volbyClick();
    QVERIFY(!t.s.volbyVisible);
    t.editor.panels.bezvolebClick();
    QVERIFY(t.s.volbyVisible);
    QVERIFY(t.s.SceneSaved);
}

void OptionPanelsTest::cornerPicturesSwitchLibraries() {
    TestEditor t;
    t.editor.panels.Image1Click();
    QVERIFY(t.s.BackCornerMode);
    QCOMPARE(t.s.prototyp, backCornerLibrary());
    QVERIFY(!t.s.SceneSaved);

    t.s.SceneSaved = true;
    t.editor.panels.Image2Click();
    QVERIFY(!t.s.BackCornerMode);
    QCOMPARE(t.s.prototyp, spareFrontCornerLibrary()); // the spare copy, with its empty line
    QCOMPARE(t.s.prototyp.size(), 264);
    QVERIFY(!t.s.SceneSaved);
}

void OptionPanelsTest::questionMarkRestoresCornerLibrary() {
    TestEditor t;
    t.s.prototyp = {"#VRML V2.0 utf8", "# the head of an opened file"};
    t.s.lbBodVisible = true;
    t.editor.panels.lbBodClick();
    QVERIFY(!t.s.lbBodVisible);
    QCOMPARE(t.s.prototyp, spareFrontCornerLibrary());
    QVERIFY(!t.s.SceneSaved); // the library in force changed

    t.editor.panels.Image1Click();
    t.s.prototyp = {"#VRML V2.0 utf8"};
    t.s.lbBodVisible = true;
    t.editor.panels.lbBodClick();
    QCOMPARE(t.s.prototyp, backCornerLibrary());
}

void OptionPanelsTest::conventionPanel_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("up");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("front");
    QTest::newRow("xyz") << 0 << "y"
                         << "x"
                         << "z";
    QTest::newRow("xzy") << 1 << "z"
                         << "x"
                         << "y";
    QTest::newRow("yzx") << 2 << "z"
                         << "y"
                         << "x";
}

void OptionPanelsTest::conventionPanel() {
    QFETCH(int, tag);
    QFETCH(QString, up);
    QFETCH(QString, right);
    QFETCH(QString, front);
    TestEditor t;
    t.editor.panels.Image3Click();
    QVERIFY(t.s.polohaVisible);
    QVERIFY(!t.s.Image3HintOn);
    t.editor.panels.Image3Click(); // already open: nothing
    QVERIFY(t.s.polohaVisible);

    t.editor.panels.ImXYZClick(tag);
    QCOMPARE(t.s.AxisOrder, tag);
    const AxisLetters letters = axisLetters(t.s.AxisOrder);
    QCOMPARE(letters.up, up);
    QCOMPARE(letters.right, right);
    QCOMPARE(letters.front, front);
    QVERIFY(!t.s.polohaVisible);
    QVERIFY(t.s.Image3HintOn);
    QVERIFY(!t.s.SceneSaved); // also when the same convention is chosen again
}

void OptionPanelsTest::pointingPreviewsConvention() {
    TestEditor t;
    t.editor.panels.Image3Click();
    t.editor.panels.ImYZXMouseMove(0);
    t.editor.panels.ImYZXMouseMove(2);
    QCOMPARE(t.s.AxisOrder, 2);
    QVERIFY(t.s.polohaVisible);
    QVERIFY(!t.s.SceneSaved); // the convention in force changed what Save writes
}

void OptionPanelsTest::protoFileComesBackFromFrontCorner() {
    QTemporaryDir folder;
    QFile proto(folder.filePath(QStringLiteral("proto.wrl")));
    QVERIFY(proto.open(QIODevice::WriteOnly));
    proto.write("#VRML V2.0 utf8\r\n# my own library\r\n");
    proto.close();

    TestEditor t(folder.path());
    const QByteArrayList own{"#VRML V2.0 utf8", "# my own library"};
    QCOMPARE(t.s.prototyp, own);
    QCOMPARE(t.s.zaloha, own);
    QCOMPARE(t.s.zalohan, backCornerLibrary());
    t.editor.panels.Image1Click();
    QCOMPARE(t.s.prototyp, backCornerLibrary());
    t.editor.panels.Image2Click();
    QCOMPARE(t.s.prototyp, own);
}

QTEST_GUILESS_MAIN(OptionPanelsTest)
#include "tst_optionpanels.moc"
