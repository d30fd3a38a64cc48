// modulino-view from a changed file to the drawn scene, for 10, 100 and 1,000 pieces, and its
// start-up; the viewer reports each drawn scene with where its time went (MODULINO_VIEW_TIMINGS).
// Needs a display: scripts/bench runs it under xvfb-run.
#include "SceneGenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

struct Drawn {
    qint64 totalMs = -1; // from the write (or the start) to the drawn scene
    QStringList split;   // the viewer's own figures: parse, world, first frames
};

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
        if (!viewer.canReadLine() && !viewer.waitForReadyRead(120000))
            break;
        while (viewer.canReadLine()) {
            const QStringList cells = QString::fromUtf8(viewer.readLine()).trimmed().split('\t');
            if (cells.value(0) == QStringLiteral("shown"))
                return {since.elapsed(), cells.mid(2)};
        }
    }
    qFatal("the viewer ended or stopped answering: %s", viewer.readAllStandardError().constData());
}

qint64 median(QList<qint64> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: modulino-bench-view PATH-TO-modulino-view\n");
        return 2;
    }
    QTemporaryDir dir;
    const QString scene = dir.filePath(QStringLiteral("~prev00.wrl"));
    writeScene(scene, 10, 1);

    QProcess viewer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MODULINO_VIEW_TIMINGS"), QStringLiteral("1"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path()); // a hand-off server of its own
    viewer.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    viewer.start(QString::fromLocal8Bit(argv[1]), {scene});
    if (!viewer.waitForStarted())
        qFatal("cannot start %s", argv[1]);
    const Drawn start = waitForDrawn(viewer, clock);
    std::printf("start-up to the first drawn 10-piece scene: %lld ms\n", start.totalMs);

    std::printf("%-8s %-10s %s\n", "pieces", "median ms",
                "runs: total (parse or update / world / frames) ms");
    std::uint32_t seed = 2;
    for (int pieces : {10, 100, 1000}) {
        QList<qint64> totals;
        QStringList runs;
        for (int run = 0; run < (pieces < 1000 ? 5 : 2); ++run) {
            clock.restart();
            writeScene(scene, pieces, seed++);
            const Drawn drawn = waitForDrawn(viewer, clock);
            totals << drawn.totalMs;
            runs << QStringLiteral("%1 (%2)").arg(drawn.totalMs).arg(drawn.split.join(" / "));
        }
        std::printf("%-8d %-10lld %s\n", pieces, median(totals), qPrintable(runs.join(", ")));

        // F3 after one edit: the viewer remakes only the piece that changed.
        const QByteArray scene0 = modulino::bench::generateScene(pieces, seed - 1);
        totals.clear();
        runs.clear();
        for (int edit = 1; edit <= 5; ++edit) {
            clock.restart();
            writeBytes(scene, withOneEdit(scene0, edit));
            const Drawn drawn = waitForDrawn(viewer, clock);
            totals << drawn.totalMs;
            runs << QStringLiteral("%1 (%2)").arg(drawn.totalMs).arg(drawn.split.join(" / "));
        }
        std::printf("%-8s %-10lld %s\n", qPrintable(QStringLiteral("%1, 1 edited").arg(pieces)),
                    median(totals), qPrintable(runs.join(", ")));
    }
    viewer.terminate();
    viewer.waitForFinished();
    return 0;
}
