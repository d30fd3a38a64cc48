#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QMainWindow>
#include <QTimer>

class QComboBox;
class QLabel;
class QStackedWidget;
class QWebEngineView;

namespace modulino::view {

class EditorLink;
class ScenePage;

// One window showing one scene file; it reloads the file whenever it changes on disk and keeps
// the camera where the user left it.
class ViewerWindow : public QMainWindow {
    Q_OBJECT

public:
    ViewerWindow(const QString& path, const QString& xiteDir);

    const QString& path() const { return filePath; }
    void reload();

private:
    void buildToolBar();
    void followFile();
    void linkToEditor();
    void showMessage(const QString& text);
    static void report(const QStringList& cells);
    void sceneShown(const QStringList& viewpoints, int bound, const QList<int>& milliseconds);

    QString filePath;
    ScenePage* page = nullptr;
    EditorLink* editor = nullptr;
    QWebEngineView* view = nullptr;
    QLabel* message = nullptr;
    QStackedWidget* stack = nullptr;
    QComboBox* viewpoints = nullptr;
    QFileSystemWatcher watcher;
    QTimer reloadDelay;
    QDateTime lastSeen;
    bool everShown = false;
    int shownPieces = 0;
};

} // namespace modulino::view
