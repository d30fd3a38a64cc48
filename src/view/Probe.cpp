#include "Probe.h"

#include "ScenePage.h"
#include "SceneSource.h"
#include "XiteLocation.h"

#include <QCoreApplication>
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
    // X_ITE draws, and runs the scripts, only in a page that is shown.
    view = std::make_unique<QWebEngineView>();
    auto* page = new ScenePage(xiteDir, view.get());
    view->setPage(page);
    view->resize(320, 240);
    view->show();
    int firstToShow = firstPath.isEmpty() ? 0 : 1;
    connect(page, &ScenePage::shown, page, [=]() mutable {
        if (firstToShow-- > 0)
            page->showScene(source.text, path, true);
        else
            page->probe(patches ? QStringLiteral("patches") : QStringLiteral("probe"));
    });
    connect(page, &ScenePage::probed, this, [this](const QStringList& lines) {
        for (const QString& line : lines)
            printTo(stdout, line);
        finish(Done);
    });
    connect(page, &ScenePage::failed, this, [this](const QString& message) {
        printTo(stderr, message);
        finish(NotLoaded);
    });
    page->showScene(first.text, firstPath.isEmpty() ? path : firstPath, false);
    return true;
}

void Probe::finish(ExitCode exit) {
    code = exit;
    QCoreApplication::exit(code);
}

} // namespace modulino::view
