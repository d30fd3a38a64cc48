// modulino-view from a changed file to the drawn scene, for 10 to 10,000 pieces, its start-up and
// the page's memory; the viewer reports each drawn scene with where its time went and its
// JavaScript heap (MODULINO_VIEW_TIMINGS). Needs a display: scripts/bench runs it under xvfb-run.
// Further arguments choose the piece counts (10 100 1000 10000 when none are given).
#include "SceneGenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

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

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is measured
    if (argc < 2) {
        std::fprintf(stderr, "usage: modulino-bench-view PATH-TO-modulino-view [PIECES...]\n");
        return 2;
    }
    QList<int> counts;
    for (int i = 2; i < argc; ++i)
        counts << std::atoi(argv[i]);
    if (counts.isEmpty())
        counts = {10, 100, 1000, 10000};
    QTemporaryDir dir;
    const QString scene = dir.filePath(QStringLiteral("~prev00.wrl"));
    writeScene(scene, 10, 1);

    QProcess viewer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MODULINO_VIEW_TIMINGS"), QStringLiteral("1"));
    env.insert(QStringLiteral("TMPDIR"), dir.path()); // a hand-off server of its own
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
        // The page's memory with this scene, and what each piece adds to that of start-up.
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
    return 0;
}
