// modulino-view from a changed file to the drawn scene, for 10 to 10,000 pieces, its start-up and
// the page's memory; the viewer reports each drawn scene with where its time went and its
// JavaScript heap (MODULINO_VIEW_TIMINGS). Then the viewer's memory after 1,000 followed edits,
// and the live link between the editor's window and a viewer window in this process. Needs a
// display: scripts/bench runs it under xvfb-run. Further arguments choose the piece counts
// (10 100 1000 10000 when none are given), or --live measures the live link alone.
#include "SceneGenerator.h"

#include "ScenePage.h"
#include "TModulino.h"
#include "UpDownArrows.h"
#include "ViewerWindow.h"
#include "base/SceneFile.h"
#include "base/StreamDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

struct Drawn {
    qint64 totalMs = -1; // from the write (or the start) to the drawn scene
    QStringList split;   // the viewer's own figures: parse, world, first frames, heap MB
    double heapMb = 0;   // the page's JavaScript heap in use
};

QByteArray procFile(const QString& pid, const char* name) {
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid, QLatin1StringView(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The resident memory of the viewer's page, in MB: its renderer, the largest process that
// QtWebEngine's zygotes (the viewer's children) forked.
double rendererRssMb(qint64 viewerPid) {
    QMap<QString, QString> parentOf;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")});
    for (const QString& pid : pids) {
        const QByteArray stat = procFile(pid, "stat");
        parentOf[pid] =
            QString::fromLatin1(stat.mid(stat.lastIndexOf(')') + 2).split(' ').value(1));
    }
    double largestKb = 0;
    for (const QString& pid : pids) {
        if (parentOf.value(parentOf.value(pid)) != QString::number(viewerPid))
            continue;
        for (const QByteArray& line : procFile(pid, "status").split('\n')) {
            if (line.startsWith("VmRSS:"))
                largestKb =
                    std::max(largestKb, line.mid(6).trimmed().split(' ').value(0).toDouble());
        }
    }
    return largestKb / 1024;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void writeScene(const QString& path, int pieces, std::uint32_t seed) {
    writeBytes(path, modulino::bench::generateScene(pieces, seed));
}

// The scene as after one edit in the editor: the middle piece's colour changed.
QByteArray withOneEdit(QByteArray scene, int edit) {
    const qsizetype middle = scene.indexOf("Dilek {", scene.size() / 2 + scene.size() / 4);
    const qsizetype colour = scene.indexOf("povrch ", middle) + 7;
    scene[colour + 3] = char('0' + edit % 10); // the red fraction's second decimal
    return scene;
}

// Waits for the viewer's next "shown" line.
Drawn waitForDrawn(QProcess& viewer, const QElapsedTimer& since) {
    while (viewer.state() == QProcess::Running) {
        if (!viewer.canReadLine() && !viewer.waitForReadyRead(600000))
            break;
        while (viewer.canReadLine()) {
            const QStringList cells = QString::fromUtf8(viewer.readLine()).trimmed().split('\t');
            if (cells.value(0) == QStringLiteral("shown"))
                return {since.elapsed(), cells.mid(2), cells.value(5).toDouble()};
        }
    }
    qFatal("the viewer ended or stopped answering: %s", viewer.readAllStandardError().constData());
}

qint64 median(QList<qint64> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "median (run, run, ...)"
QString runsText(const QList<qint64>& runs) {
    QStringList texts;
    for (qint64 run : runs)
        texts << QString::number(run);
    return QStringLiteral("%1 (%2)").arg(median(runs)).arg(texts.join(QStringLiteral(", ")));
}

// The proportional memory of a process and of all its descendants, in MB.
double treeMegabytes(qint64 root) {
    QList<qint64> tree{root};
    for (int round = 0; round < 3; ++round) {
        for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            bool number = false;
            const qint64 pid = entry.toLongLong(&number);
            QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
            if (!number || tree.contains(pid) || !stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray text = stat.readAll();
            const qint64 parent =
                text.mid(text.lastIndexOf(')') + 2).split(' ').value(1).toLongLong();
            if (tree.contains(parent))
                tree << pid;
        }
    }
    double kilobytes = 0;
    for (qint64 pid : tree) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : rollup.readAll().split('\n'))
            if (line.startsWith("Pss:"))
                kilobytes += line.mid(4).trimmed().split(' ').value(0).toDouble();
    }
    return kilobytes / 1024;
}

QProcess* startViewer(const char* program, const QString& scene, const QString& runtime) {
    auto* viewer = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MODULINO_VIEW_TIMINGS"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime); // a hand-off server of its own
    viewer->setProcessEnvironment(env);
    viewer->start(QString::fromLocal8Bit(program), {scene});
    if (!viewer->waitForStarted())
        qFatal("cannot start %s", program);
    return viewer;
}

// The viewer's memory after 1,000 followed edits of a 100-piece scene, each one piece's colour as
// an edit changes it, against a fresh load of the same scene; both after a quiet moment.
void followedEditsMemory(const char* program, const QTemporaryDir& dir) {
    // MODULINO_BENCH_EDITS=N for a shorter run.
    const int Edits = qEnvironmentVariableIntValue("MODULINO_BENCH_EDITS") > 0
                          ? qEnvironmentVariableIntValue("MODULINO_BENCH_EDITS")
                          : 1000;
    const QString scene = dir.filePath(QStringLiteral("~prev01.wrl"));
    const QByteArray scene0 = modulino::bench::generateScene(100, 7);
    writeBytes(scene, scene0);
    std::unique_ptr<QProcess> viewer(startViewer(program, scene, dir.path()));
    QElapsedTimer clock;
    clock.start();
    waitForDrawn(*viewer, clock);
    QTest::qWait(2000);
    const double first = treeMegabytes(viewer->processId());
    for (int edit = 1; edit <= Edits; ++edit) {
        writeBytes(scene, withOneEdit(scene0, edit));
        waitForDrawn(*viewer, clock);
    }
    QTest::qWait(2000);
    const double followed = treeMegabytes(viewer->processId());
    viewer->terminate();
    viewer->waitForFinished();

    viewer.reset(startViewer(program, scene, dir.path()));
    waitForDrawn(*viewer, clock);
    QTest::qWait(2000);
    const double fresh = treeMegabytes(viewer->processId());
    viewer->terminate();
    viewer->waitForFinished();
    std::printf("memory of the viewer's processes, 100 pieces: first load %.0f MB, after %d "
                "followed edits %.0f MB, fresh load of the last file %.0f MB: %+.1f %% "
                "(target within 10 %%)\n",
                first, Edits, followed, fresh, (followed / fresh - 1) * 100);
}

// F3 shows the preview in a viewer window of this process.
class ViewingDialogs : public modulino::StreamDialogs {
public:
    std::unique_ptr<modulino::view::ViewerWindow> viewer;
    QString xite;

    void openInViewer(const QString& path) override {
        if (viewer)
            return;
        viewer = std::make_unique<modulino::view::ViewerWindow>(path, xite);
        viewer->setGeometry(700, 0, 560, 480);
        viewer->show();
    }
};

// Where the pointer grabs the x arrow of a piece's manipulators, in the view's pixels, with room
// for the drag to its right: the middle of each piece's x arrow is projected onto the view, and the
// nearest ones are tried in turn until one is not hidden behind another piece. (Trying every fourth
// pixel of the view took minutes at 1,000 pieces, each try a pointer pass over the whole world.)
const QString ArrowScan = QStringLiteral(R"(
(() => {
   const canvas     = document .querySelector ("x3d-canvas");
   const browser    = X3D .getBrowser (canvas);
   const height     = canvas .getBoundingClientRect () .height;
   const layer      = browser .getActiveLayer ();
   const viewpoint  = layer .getViewpoint ();
   const viewport   = layer .getViewport () .getRectangle ();
   const projection = viewpoint .getProjectionMatrix (layer);
   const arrows     = [ ];
   for (const { instance, matrix } of modulino .pieceInstances (browser .currentScene .getRootNodes (), X3D .Matrix4 .IDENTITY .copy ())) {
      // A stand-in's arrow is where the arrow of the instance it copies is, beside its DILEK.
      const body   = instance .getBody ();
      const arrow  = (instance .kind ?? instance) .getBody () .getNamedNode ("K2") .getValue ();
      const outer  = modulino .pathTo (body .getRootNodes (), body .getNamedNode ("DILEK") .getValue (), matrix .copy ());
      const inner  = arrow .getBody () .getRootNodes () [0] .getValue () .getMatrix ();
      const middle = outer .multVecMatrix (inner .multVecMatrix (new X3D .Vector3 (0, -0.1, 0)));
      const p      = X3D .ViewVolume .projectPoint (middle, viewpoint .getViewMatrix (), projection, viewport, new X3D .Vector3 ());
      if (p .x > 2 && p .x < viewport [2] - 90 && p .y > 2 && p .y < viewport [3] - 2 && p .z > 0 && p .z < 1)
         arrows .push ([Math .round (p .x), Math .round (height - p .y), p .z]);
   }
   arrows .sort ((a, b) => a [2] - b [2]);
   for (const [cx, cy] of arrows .slice (0, 80)) {
      // The x arrow is the green cone (a stand-in's has no sensor until it is pressed).
      const shape = browser .touch (cx, height - cy) && browser .getHit () .shapeNode;
      if (shape && shape ._geometry .getValue () ?.getTypeName () === "Cone" &&
          shape ._appearance .getValue () ._material .getValue () ._diffuseColor .getValue () .equals (new X3D .Color3 (0, 1, 0)))
         return [cx, cy];
   }
   return [ ];
})())");

// The viewpoint "Zdaleka", without the offsets the user gave it.
const QString FromAfar = QStringLiteral(R"(
(() => {
   const browser   = X3D .getBrowser (document .querySelector ("x3d-canvas"));
   const layer     = browser .getActiveLayer ();
   const viewpoint = layer .getUserViewpoints () [4];
   browser .bindViewpoint (layer, viewpoint);
   viewpoint .resetUserOffsets ();
})())");

// Milliseconds until `done` holds, or -1 after a minute.
qint64 until(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 60000)
            return -1;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return clock.elapsed();
}

// The editor's window and a viewer window in this process: an arrow click to the view drawn anew,
// a selection to the outline moved, a click in the view to the row selected, a drag's release to
// the editor's cells and to the piece drawn anew.
void liveLink(const QString& xite, const QTemporaryDir& dir) {
    using namespace modulino;
    QDir::setCurrent(dir.path());
    ViewingDialogs dialogs;
    dialogs.xite = xite;
    TModulino editor(&dialogs);
    editor.show();
    Editor& core = editor.editor();
    auto* upArrow = editor.findChild<UpDownArrows*>(QStringLiteral("UDx"))->upArrow();
    const auto trigger = [&](const char* name) {
        editor.findChild<QAction*>(QLatin1String(name))->trigger();
    };
    const auto select = [&](int row) {
        core.editing.selectRow(row);
        editor.refresh();
    };
    std::printf("%-8s %-26s %-26s %-26s %s\n", "pieces", "arrow click to drawn ms",
                "selection to outline ms", "click in view to row ms",
                "drag release to cells / drawn ms");
    int shown = 0, marked = 0;
    view::ScenePage* page = nullptr;
    QWebEngineView* web = nullptr;
    for (int pieces : {10, 100, 1000}) {
        const QString file = dir.filePath(QStringLiteral("live%1.wrl").arg(pieces));
        writeWholeFile(file, bench::generateScene(pieces, 11));
        core.state.markSaved();
        editor.openFile(file);
        trigger("Preview1");
        if (!page) {
            web = dialogs.viewer->findChild<QWebEngineView*>();
            page = static_cast<view::ScenePage*>(web->page());
            QObject::connect(page, &view::ScenePage::shown, [&] { ++shown; });
            QObject::connect(page, &view::ScenePage::marked, [&] { ++marked; });
        }
        const auto drawn = [&] {
            const int before = shown;
            return [&shown, before] {
                return shown > before;
            };
        };
        until(drawn());
        QTest::qWait(1000);

        QList<qint64> arrow, outline, pick;
        for (int i = 0; i < 5; ++i) {
            const auto done = drawn();
            QTest::mouseClick(upArrow, Qt::LeftButton);
            arrow << until(done);
            QTest::qWait(300);
        }
        for (int i = 0; i < 5; ++i) {
            const int before = marked;
            const auto start = std::chrono::steady_clock::now();
            select(1 + i % 2);
            until([&] { return marked > before; });
            outline << std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
        }
        select(1);
        trigger("UkazatDilek1");
        QTest::qWait(1800);
        QWidget* target = web->focusProxy();
        for (int i = 0; i < 3; ++i) {
            // The click comes once the page has moved the outline and drawn it (at 1,000 pieces
            // a frame takes some 300 ms), so that it measures the click, not the selection.
            const int before = marked;
            select(pieces);
            until([&] { return marked > before; });
            QTest::qWait(pieces >= 1000 ? 600 : 300);
            const QPoint centre = web->rect().center();
            QTest::mousePress(target, Qt::LeftButton, {}, centre);
            QTest::mouseRelease(target, Qt::LeftButton, {}, centre);
            pick << until([&] { return core.state.CurrentRow != pieces; });
        }

        // The drag: an x arrow the pointer can reach, 80 pixels to the right, three times. Among
        // 1,000 pieces every arrow near the camera is hidden by other pieces: there the scene is
        // seen from the front, from afar (the viewpoint "Zdaleka").
        QList<qint64> dragCells, dragDrawn;
        const auto scanArrows = [&] {
            QVariantList place;
            bool scanned = false;
            page->runJavaScript(ArrowScan, [&](const QVariant& v) {
                place = v.toList();
                scanned = true;
            });
            until([&] { return scanned; });
            return place;
        };
        for (int i = 0; i < 3; ++i) {
            QVariantList place = scanArrows();
            if (place.size() != 2 && i == 0) {
                page->runJavaScript(FromAfar);
                QTest::qWait(3000);
                place = scanArrows();
            }
            if (place.size() != 2)
                break;
            const QPoint from(place[0].toInt(), place[1].toInt());
            QTest::mouseMove(target, from); // the pointer comes to the arrow before it presses
            QTest::qWait(300);
            QTest::mousePress(target, Qt::LeftButton, {}, from);
            for (int step = 1; step <= 10; ++step)
                QTest::mouseMove(target, from + QPoint(8 * step, 0), 20);
            core.state.markSaved();
            const int steps = core.state.history.stepCount();
            const auto done = drawn();
            QElapsedTimer clock;
            clock.start();
            QTest::mouseRelease(target, Qt::LeftButton, {}, from + QPoint(80, 0));
            dragCells << until([&] { return core.state.history.stepCount() > steps; });
            dragDrawn << until(done) + dragCells.last();
            QTest::qWait(500);
        }
        const QString drag =
            dragCells.isEmpty()
                ? QStringLiteral("no arrow in sight")
                : QStringLiteral("%1 / %2").arg(runsText(dragCells), runsText(dragDrawn));
        std::printf("%-8d %-26s %-26s %-26s %s\n", pieces, qPrintable(runsText(arrow)),
                    qPrintable(runsText(outline)), qPrintable(runsText(pick)), qPrintable(drag));
        std::fflush(stdout);
    }
    core.state.markSaved();
}

} // namespace

int main(int argc, char* argv[]) {
    // The in-process viewer window needs what modulino-view sets for Chromium.
    QByteArray flags = "--ignore-gpu-blocklist --js-flags=--expose-gc";
    if (geteuid() == 0)
        flags += " --no-sandbox";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is measured
    const bool liveOnly = argc == 3 && qstrcmp(argv[2], "--live") == 0;
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: modulino-bench-view PATH-TO-modulino-view [--live | PIECES...]\n");
        return 2;
    }
    QList<int> counts;
    for (int i = 2; i < argc && !liveOnly; ++i)
        counts << std::atoi(argv[i]);
    if (counts.isEmpty())
        counts = {10, 100, 1000, 10000};
    QTemporaryDir dir;
    if (liveOnly) {
        followedEditsMemory(argv[1], dir);
        liveLink(QFileInfo(QString::fromLocal8Bit(argv[1])).absolutePath() +
                     QStringLiteral("/x_ite"),
                 dir);
        return 0;
    }
    const QString scene = dir.filePath(QStringLiteral("~prev00.wrl"));
    writeScene(scene, 10, 1);

    QProcess viewer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MODULINO_VIEW_TIMINGS"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path()); // a hand-off server of its own
    env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"),
               env.value(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS")) +
                   QStringLiteral(" --enable-precise-memory-info"));
    viewer.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    viewer.start(QString::fromLocal8Bit(argv[1]), {scene});
    if (!viewer.waitForStarted())
        qFatal("cannot start %s", argv[1]);
    const Drawn start = waitForDrawn(viewer, clock);
    const double startRss = rendererRssMb(viewer.processId());
    std::printf("start-up to the first drawn 10-piece scene: %lld ms; page %.0f MB, heap %.0f MB\n",
                start.totalMs, startRss, start.heapMb);

    std::printf("%-8s %-10s %-26s %s\n", "pieces", "median ms", "page MB / heap MB (KB each)",
                "runs: total (parse or update / world / frames / heap MB) ms");
    std::uint32_t seed = 2;
    for (int pieces : counts) {
        QList<qint64> totals;
        QStringList runs;
        Drawn drawn;
        for (int run = 0; run < (pieces < 1000 ? 5 : pieces < 10000 ? 2 : 1); ++run) {
            clock.restart();
            writeScene(scene, pieces, seed++);
            drawn = waitForDrawn(viewer, clock);
            totals << drawn.totalMs;
            runs << QStringLiteral("%1 (%2)").arg(drawn.totalMs).arg(drawn.split.join(" / "));
        }
        // The page's memory with this scene, once the page collected the garbage of the scenes
        // before (after two quiet seconds), and what each piece adds to that of start-up. The
        // file written again unchanged has the page report its heap.
        QTest::qWait(3000);
        writeScene(scene, pieces, seed - 1);
        drawn = waitForDrawn(viewer, clock);
        const double rss = rendererRssMb(viewer.processId());
        const QString memory = QStringLiteral("%1 / %2 (%3 / %4)")
                                   .arg(rss, 0, 'f', 0)
                                   .arg(drawn.heapMb, 0, 'f', 0)
                                   .arg((rss - startRss) * 1024 / pieces, 0, 'f', 0)
                                   .arg((drawn.heapMb - start.heapMb) * 1024 / pieces, 0, 'f', 0);
        std::printf("%-8d %-10lld %-26s %s\n", pieces, median(totals), qPrintable(memory),
                    qPrintable(runs.join(", ")));

        // F3 after one edit: the viewer remakes only the piece that changed.
        const QByteArray scene0 = modulino::bench::generateScene(pieces, seed - 1);
        totals.clear();
        runs.clear();
        for (int edit = 1; edit <= (pieces < 10000 ? 5 : 3); ++edit) {
            clock.restart();
            writeBytes(scene, withOneEdit(scene0, edit));
            const Drawn drawn = waitForDrawn(viewer, clock);
            totals << drawn.totalMs;
            runs << QStringLiteral("%1 (%2)").arg(drawn.totalMs).arg(drawn.split.join(" / "));
        }
        std::printf("%-8s %-10lld %-26s %s\n",
                    qPrintable(QStringLiteral("%1, 1 edited").arg(pieces)), median(totals), "",
                    qPrintable(runs.join(", ")));
    }
    viewer.terminate();
    viewer.waitForFinished();

    followedEditsMemory(argv[1], dir);
    std::printf("\nthe live link, editor and viewer windows in one process:\n");
    liveLink(QFileInfo(QString::fromLocal8Bit(argv[1])).absolutePath() + QStringLiteral("/x_ite"),
             dir);
    return 0;
}
