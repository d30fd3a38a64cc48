// modulino-view --export of 100 and 1,000 generated pieces to each format: the whole process
// against --probe of the same file, and the time the page takes to make the file from the built
// world (MODULINO_VIEW_TIMINGS).
// Needs a display: scripts/bench runs it under xvfb-run.
#include "SceneGenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

struct Times {
    qint64 whole = 0; // the process from start to end
    qint64 page = 0;  // making the file in the page
};

// The milliseconds of one run of the viewer with these arguments.
Times timed(const QString& viewer, const QStringList& arguments) {
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MODULINO_VIEW_TIMINGS"), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    process.start(viewer, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0)
        qFatal("%s %s failed: %s", qPrintable(viewer), qPrintable(arguments.join(' ')),
               process.readAllStandardError().constData());
    const QByteArray out = process.readAllStandardOutput();
    const qsizetype page = out.indexOf("exported\t");
    return {clock.elapsed(), page < 0 ? 0 : out.mid(page + 9).split('\n').value(0).toLongLong()};
}

qint64 median(QList<qint64> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: modulino-bench-export PATH-TO-modulino-view\n");
        return 2;
    }
    const QString viewer = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    // Medians of three runs at 100 pieces, one run at 1,000.
    std::printf("%-7s %-8s %-9s %-9s %s\n", "pieces", "format", "whole ms", "page ms", "file");
    for (int pieces : {100, 1000}) {
        const QString scene = dir.filePath(QStringLiteral("scene%1.wrl").arg(pieces));
        QFile file(scene);
        const QByteArray bytes = modulino::bench::generateScene(pieces, 7);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(scene));
        file.close();
        const int runs = pieces < 1000 ? 3 : 1;
        for (const QString format : {"probe", "glb", "gltf", "stl", "x3d"}) {
            const QString out = dir.filePath(QStringLiteral("out.") + format);
            const QStringList arguments = format == QStringLiteral("probe")
                                              ? QStringList{QStringLiteral("--probe"), scene}
                                              : QStringList{QStringLiteral("--export"), out, scene};
            QList<qint64> whole, page;
            for (int run = 0; run < runs; ++run) {
                const Times times = timed(viewer, arguments);
                whole << times.whole;
                page << times.page;
            }
            const qint64 size = QFileInfo(out).size();
            std::printf("%-7d %-8s %-9lld %-9lld %s\n", pieces, qPrintable(format), median(whole),
                        median(page),
                        size ? qPrintable(QStringLiteral("%1 MB").arg(size / 1e6, 0, 'f', 1))
                             : "(no export: loading and probing only)");
            std::fflush(stdout);
        }
    }
    return 0;
}
