#include "Probe.h"

#include "ScenePage.h"
#include "SceneSource.h"
#include "XiteLocation.h"

#include "base/SceneFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWebEngineView>
#include <cstdio>

namespace modulino::view {

namespace {

void printTo(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace

bool Probe::exportTo(const QString& out, double scale) {
    exportFormat = QFileInfo(out).suffix().toLower();
    if (!QStringList{"glb", "gltf", "stl", "x3d"}.contains(exportFormat) || !(scale > 0)) {
        printTo(stderr, QStringLiteral("%1: export needs .glb, .gltf, .stl or .x3d and a "
                                       "positive --scale")
                            .arg(out));
        code = Unreadable;
        return false;
    }
    exportPath = out;
    exportScale = scale;
    return true;
}

bool Probe::start(const QString& path, const QString& xiteDir, const QString& firstPath,
                  bool patches) {
    if (xiteDir.isEmpty()) {
        printTo(stderr, missingXiteMessage());
        code = NoXite;
        return false;
    }
    const SceneSource source = readSceneSource(path);
    const SceneSource first = firstPath.isEmpty() ? source : readSceneSource(firstPath);
    for (const SceneSource* read : {&source, &first}) {
        if (!read->readable()) {
            printTo(stderr, read->error);
            code = Unreadable;
            return false;
        }
    }
    // X_ITE draws, and runs the scripts, only in a page that is shown; it is shown off the screen.
    view = std::make_unique<QWebEngineView>();
    auto* page = new ScenePage(xiteDir, view.get());
    view->setPage(page);
    view->setAttribute(Qt::WA_DontShowOnScreen);
    view->resize(320, 240);
    view->show();
    int firstToShow = firstPath.isEmpty() ? 0 : 1;
    connect(page, &ScenePage::shown, page, [=, this]() mutable {
        if (firstToShow-- > 0)
            page->showScene(source.text, path, true);
        else if (!exportPath.isEmpty())
            page->exportScene(exportFormat, exportScale);
        else
            page->probe(patches ? QStringLiteral("patches") : QStringLiteral("probe"));
    });
    connect(page, &ScenePage::probed, this, [this](const QStringList& lines) {
        for (const QString& line : lines)
            printTo(stdout, line);
        finish(Done);
    });
    connect(page, &ScenePage::exported, this, &Probe::write);
    connect(page, &ScenePage::failed, this, [this](const QString& message) {
        printTo(stderr, message);
        finish(NotLoaded);
    });
    // OTHER is shown as what the file held before it changed on disk.
    page->showScene(first.text, path, false);
    return true;
}

// MODULINO_VIEW_TIMINGS=1 prints the time the page took to make the file, for the benchmark.
void Probe::write(const QByteArray& bytes, int milliseconds) {
    const QString error = writeWholeFile(exportPath, bytes);
    if (!error.isEmpty())
        printTo(stderr, error);
    else if (qEnvironmentVariableIntValue("MODULINO_VIEW_TIMINGS") != 0)
        printTo(stdout, QStringLiteral("exported\t%1").arg(milliseconds));
    finish(error.isEmpty() ? Done : Unreadable);
}

void Probe::finish(ExitCode exit) {
    code = exit;
    QCoreApplication::exit(code);
}

} // namespace modulino::view
