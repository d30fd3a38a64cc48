// The editor's window and the viewer's window in one process under Xvfb: the view follows edits
// without F3, a click on a piece selects its row, a drag of its arrow moves it with undo.
#include "ScenePage.h"
#include "ScriptedDialogs.h"
#include "TModulino.h"
#include "UpDownArrows.h"
#include "ViewerWindow.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>
#include <memory>
#include <unistd.h>

using namespace modulino;

namespace {

// F3 shows the preview in a viewer window of this process.
class ViewingDialogs : public ScriptedDialogs {
public:
    std::unique_ptr<view::ViewerWindow> viewer;

    void openInViewer(const QString& path) override {
        ScriptedDialogs::openInViewer(path);
        if (!viewer) {
            viewer = std::make_unique<view::ViewerWindow>(path, QStringLiteral(MODULINO_XITE_DIR));
            viewer->setGeometry(700, 0, 560, 480);
            viewer->show();
        }
    }
};

// Where, in the view's pixels, the pointer grabs the x arrow of the first piece's manipulators.
const QString ArrowScan = QStringLiteral(R"(
(() => {
   const canvas  = document .querySelector ("x3d-canvas");
   const browser = X3D .getBrowser (canvas);
   const rect    = canvas .getBoundingClientRect ();
   // The framed piece is in the middle: the places nearest to it first.
   const places = [ ];
   for (let cy = 4; cy < rect .height; cy += 4)
      for (let cx = 4; cx < rect .width; cx += 4)
         places .push ([cx, cy]);
   places .sort ((a, b) => Math .hypot (a [0] - rect .width / 2, a [1] - rect .height / 2) -
                           Math .hypot (b [0] - rect .width / 2, b [1] - rect .height / 2));
   for (const [cx, cy] of places) {
      // The x arrow is the green cone (a stand-in's has no sensor until it is pressed).
      const shape = browser .touch (cx, rect .height - cy) && browser .getHit () .shapeNode;
      if (shape && shape ._geometry .getValue () ?.getTypeName () === "Cone" &&
          shape ._appearance .getValue () ._material .getValue () ._diffuseColor .getValue () .equals (new X3D .Color3 (0, 1, 0)))
         return [cx, cy];
   }
   return [ ];
})())");

} // namespace

class TestLiveView : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void followsWithoutF3();
    void pickSelectsRow();
    void dragMovesPiece_data();
    void dragMovesPiece();
    void cleanupTestCase();

private:
    QWebEngineView* webView() const { return dialogs.viewer->findChild<QWebEngineView*>(); }
    view::ScenePage* page() const { return static_cast<view::ScenePage*>(webView()->page()); }
    bool waitShown();
    QStringList probe();
    QJsonArray evaluate(const QString& script);
    void frameCurrentPiece();
    void click(QPoint at);
    void trigger(const char* action) {
        editor->findChild<QAction*>(QLatin1String(action))->trigger();
    }

    QTemporaryDir folder;
    ViewingDialogs dialogs;
    std::unique_ptr<TModulino> editor;
};

void TestLiveView::initTestCase() {
    QDir::setCurrent(folder.path());
    editor = std::make_unique<TModulino>(&dialogs);
    editor->show();
    Editor& core = editor->editor();
    core.editing.PridejClick();
    core.editing.PridejClick();
    core.editing.SGDilkySetEditText(PieceTable::XColumn, 2, QStringLiteral("5"));
    editor->refresh();
    trigger("Preview1"); // F3
    QVERIFY(dialogs.viewer);
    QVERIFY(waitShown());
}

void TestLiveView::cleanupTestCase() {
    editor.reset();
    dialogs.viewer.reset();
}

bool TestLiveView::waitShown() {
    QSignalSpy shown(page(), &view::ScenePage::shown);
    return shown.wait(60000);
}

QStringList TestLiveView::probe() {
    QSignalSpy probed(page(), &view::ScenePage::probed);
    page()->probe();
    return probed.wait(10000) ? probed.at(0).at(0).toStringList() : QStringList();
}

QJsonArray TestLiveView::evaluate(const QString& script) {
    QJsonArray result;
    bool done = false;
    page()->runJavaScript(script, [&](const QVariant& value) {
        result = QJsonArray::fromVariantList(value.toList());
        done = true;
    });
    QDeadlineTimer deadline(20000);
    while (!done && !deadline.hasExpired())
        QTest::qWait(20);
    return result;
}

// "Ukázat dílek" (Ctrl+F3) in the editor; the camera's flight takes a second, longer on a busy
// machine: it has ended when the camera stays put for a fifth of a second.
void TestLiveView::frameCurrentPiece() {
    trigger("UkazatDilek1");
    QTest::qWait(1000);
    const QString camera = QStringLiteral(
        "[String(X3D.getBrowser(document.querySelector('x3d-canvas')).getActiveLayer()"
        ".getViewpoint().getUserPosition())]");
    QString before;
    for (QString now = evaluate(camera).at(0).toString(); now != before;
         now = evaluate(camera).at(0).toString()) {
        before = now;
        QTest::qWait(200);
    }
}

void TestLiveView::click(QPoint at) {
    QWidget* target = webView()->focusProxy();
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at, 50);
}

// An arrow click in the editor shows in the view without F3.
void TestLiveView::followsWithoutF3() {
    QCOMPARE(probe().value(1).section(QLatin1Char('\t'), 3, 3), QStringLiteral("5.000"));
    QTest::mouseClick(editor->findChild<UpDownArrows*>(QStringLiteral("UDx"))->upArrow(),
                      Qt::LeftButton);
    QVERIFY(waitShown());
    QCOMPARE(probe().value(1).section(QLatin1Char('\t'), 3, 3), QStringLiteral("5.100"));
    QCOMPARE(dialogs.viewed.size(), 1);
}

// A click on the body of the second piece, the one the view made anew for the edit above, makes
// its row current.
void TestLiveView::pickSelectsRow() {
    Editor& core = editor->editor();
    core.editing.selectRow(2);
    editor->refresh();
    frameCurrentPiece();
    core.editing.selectRow(1);
    editor->refresh();
    click(webView()->rect().center());
    QTRY_COMPARE_WITH_TIMEOUT(core.state.CurrentRow, 2, 5000);
    QCOMPARE(core.state.SGDilky.currentRow(), 2);

    // A Ctrl+click on the first row outlines both pieces; the outlines are the first root node.
    core.selection.SGDilkyToggleRow(1);
    editor->refresh();
    const QString outlines = QStringLiteral(
        "[X3D.getBrowser(document.querySelector('x3d-canvas')).currentScene.rootNodes[0]"
        ".children.length]");
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(outlines).at(0).toInt(), 2, 5000);
}

void TestLiveView::dragMovesPiece_data() {
    QTest::addColumn<int>("pieces");
    QTest::newRow("instances") << 2;
    QTest::newRow("stand-ins") << 60; // a scene of more than 50 pieces loaded anew
}

// The first piece's x arrow dragged to the right moves the piece in the file; Ctrl+Z takes it back.
void TestLiveView::dragMovesPiece() {
    QFETCH(int, pieces);
    Editor& core = editor->editor();
    if (core.state.SGDilky.rowCount() - 1 < pieces) {
        while (core.state.SGDilky.rowCount() - 1 < pieces)
            core.editing.PridejClick();
        core.selection.VybratVse1Click();
        core.group.TvarChange(0); // every line changes: the view loads the file anew
        editor->refresh();
        QTRY_VERIFY_WITH_TIMEOUT(probe().size() == pieces &&
                                     probe().last().section(QLatin1Char('\t'), 1, 1) ==
                                         probe().first().section(QLatin1Char('\t'), 1, 1),
                                 60000);
    }
    core.editing.selectRow(1);
    editor->refresh();
    frameCurrentPiece();
    const QJsonArray arrow = evaluate(ArrowScan);
    QCOMPARE(arrow.size(), 2);
    const QPoint from(arrow[0].toInt(), arrow[1].toInt());
    QWidget* target = webView()->focusProxy();
    QTest::mousePress(target, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 10; ++step)
        QTest::mouseMove(target, from + QPoint(8 * step, 0), 20);
    QTest::mouseRelease(target, Qt::LeftButton, {}, from + QPoint(80, 0), 50);

    // The dragged piece becomes current (among pieces made alike, the arrow in front may be
    // another's).
    QTRY_VERIFY_WITH_TIMEOUT(
        core.state.SGDilky.cell(PieceTable::XColumn, core.state.CurrentRow).toDouble() > 0, 5000);
    const int row = core.state.CurrentRow;
    const QString moved = core.state.SGDilky.cell(PieceTable::XColumn, row);
    QVERIFY(!core.state.SceneSaved);
    QVERIFY(waitShown());
    QCOMPARE(probe().value(row - 1).section(QLatin1Char('\t'), 3, 3).toDouble(), moved.toDouble());

    trigger("Zpet1"); // Ctrl+Z
    QCOMPARE(core.state.SGDilky.cell(PieceTable::XColumn, row), QStringLiteral("0"));
    QVERIFY(waitShown());
    QCOMPARE(probe().value(row - 1).section(QLatin1Char('\t'), 3, 3), QStringLiteral("0.000"));
}

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("SKIP: the view draws with WebGL: run under xvfb-run");
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "xcb"); // scripts/test sets offscreen, where WebGL cannot draw
    QTemporaryDir runtime;             // a private runtime folder of the test's own
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QByteArray flags = "--ignore-gpu-blocklist";
    if (geteuid() == 0)
        flags += " --no-sandbox";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestLiveView test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_liveview.moc"
