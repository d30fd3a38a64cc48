#include "ViewerWindow.h"

#include "EditorLink.h"
#include "ScenePage.h"
#include "SceneSource.h"
#include "XiteLocation.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QWebEngineView>
#include <cstdio>

namespace modulino::view {

namespace {

// The editor rewrites its preview file at every F3; a short pause lets the write finish.
constexpr int ReloadDelayMs = 100;

} // namespace

ViewerWindow::ViewerWindow(const QString& path, const QString& xiteDir)
    : filePath(QFileInfo(path).absoluteFilePath()) {
    setWindowTitle(QStringLiteral("%1 — Modulino").arg(QFileInfo(filePath).fileName()));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("modulino-view")));
    resize(900, 680);

    stack = new QStackedWidget(this);
    view = new QWebEngineView(stack);
    message = new QLabel(stack);
    // X_ITE points at the place of a fault with a caret under the line: keep its columns.
    message->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    message->setMargin(24);
    stack->addWidget(view);
    stack->addWidget(message);
    setCentralWidget(stack);
    buildToolBar();

    if (xiteDir.isEmpty()) {
        showMessage(missingXiteMessage());
        return;
    }
    page = new ScenePage(xiteDir, this);
    view->setPage(page);
    connect(page, &ScenePage::shown, this, &ViewerWindow::sceneShown);
    connect(page, &ScenePage::progress, this, [this](int made, int total) {
        statusBar()->showMessage(
            QStringLiteral("Načítám scénu: dílků %1 z %2…").arg(made).arg(total));
    });
    connect(page, &ScenePage::failed, this, [this](const QString& reason) {
        showMessage(QStringLiteral("X_ITE tuto scénu nenačetl:\n\n%1").arg(reason));
    });
    followFile();
    linkToEditor();
    reload();
}

// The editor that writes this file, if any: it marks its selection here and takes picks and drags.
void ViewerWindow::linkToEditor() {
    editor = new EditorLink(filePath, this);
    connect(editor, &EditorLink::selected, page, &ScenePage::markPieces);
    connect(editor, &EditorLink::frameRequested, page, &ScenePage::frameMark);
    connect(page, &ScenePage::picked, editor, [this](int piece, bool ctrl) {
        editor->send(link::Pick{piece, ctrl});
    });
    connect(page, &ScenePage::dragged, editor,
            [this](int piece, const std::array<double, 3>& move) {
                editor->send(link::Drag{piece, move});
            });
}

void ViewerWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Pohledy"));
    bar->setMovable(false);
    bar->addWidget(new QLabel(QStringLiteral("Pohled: "), bar));
    viewpoints = new QComboBox(bar);
    viewpoints->setMinimumContentsLength(16);
    bar->addWidget(viewpoints);
    connect(viewpoints, &QComboBox::activated, this, [this](int index) {
        page->bindViewpoint(index);
        view->setFocus();
    });
}

void ViewerWindow::followFile() {
    reloadDelay.setSingleShot(true);
    reloadDelay.setInterval(ReloadDelayMs);
    connect(&reloadDelay, &QTimer::timeout, this, &ViewerWindow::reload);
    // Watching the folder too notices a file that was replaced or created again.
    watcher.addPath(QFileInfo(filePath).absolutePath());
    watcher.addPath(filePath);
    auto changed = [this] {
        if (!watcher.files().contains(filePath) && QFileInfo::exists(filePath))
            watcher.addPath(filePath);
        reloadDelay.start();
    };
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, changed);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, [this, changed] {
        if (QFileInfo(filePath).lastModified() != lastSeen)
            changed();
    });
}

void ViewerWindow::reload() {
    if (!page)
        return;
    lastSeen = QFileInfo(filePath).lastModified();
    editor->connectToEditor();
    const SceneSource source = readSceneSource(filePath);
    if (!source.readable()) {
        showMessage(QStringLiteral("Soubor nelze přečíst:\n\n%1").arg(source.error));
        return;
    }
    statusBar()->showMessage(QStringLiteral("Načítám scénu: dílků %1…").arg(source.pieces));
    shownPieces = source.pieces;
    // X_ITE draws, and runs the scripts, only while its view is visible.
    stack->setCurrentWidget(view);
    page->showScene(source.text, filePath, everShown);
}

void ViewerWindow::showMessage(const QString& text) {
    report({QStringLiteral("message")});
    statusBar()->clearMessage();
    viewpoints->clear();
    message->setText(text);
    stack->setCurrentWidget(message);
}

// MODULINO_VIEW_TIMINGS=1 prints each outcome on standard output, for the benchmark and tests.
void ViewerWindow::report(const QStringList& cells) {
    static const bool timings = qEnvironmentVariableIntValue("MODULINO_VIEW_TIMINGS") != 0;
    if (timings) {
        std::printf("%s\n", qPrintable(cells.join(QLatin1Char('\t'))));
        std::fflush(stdout);
    }
}

void ViewerWindow::sceneShown(const QStringList& names, int bound, const QList<int>& milliseconds) {
    QStringList cells{QStringLiteral("shown"), QString::number(shownPieces)};
    for (int ms : milliseconds)
        cells << QString::number(ms);
    report(cells); // where the time went: parse or update, world, first frames
    everShown = true;
    editor->connectToEditor(); // an editor that started listening after it opened this file
    statusBar()->clearMessage();
    stack->setCurrentWidget(view);
    viewpoints->clear();
    viewpoints->addItems(names);
    viewpoints->setCurrentIndex(bound);
}

} // namespace modulino::view
