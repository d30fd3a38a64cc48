#pragma once

#include <QString>
#include <QStringList>
#include <QWebEnginePage>
#include <optional>

namespace modulino::view {

// The web page that hosts X_ITE. Scenes go in as text; the page answers through console lines
// that start with "modulino\t" and carry a JSON object, which become the signals below.
class ScenePage : public QWebEnginePage {
    Q_OBJECT

public:
    ScenePage(const QString& xiteDir, QObject* parent);

    // Replaces the world with the scene text of the file at path; keepCamera keeps the bound
    // viewpoint, where the user moved it, and the navigation type. Waits for the page when it is
    // still loading.
    void showScene(const QString& text, const QString& path, bool keepCamera);
    void bindViewpoint(int index);
    // Reports every Dilek piece of the shown world through probed(); the function "patches"
    // reports instead whether each patch of X_ITE is in place.
    void probe(const QString& function = QStringLiteral("probe"));

signals:
    // milliseconds: parsing the text, building the world, its first frames; then the
    // JavaScript heap in use in MB (exact with --enable-precise-memory-info).
    void shown(const QStringList& viewpoints, int boundViewpoint, const QList<int>& milliseconds);
    void failed(const QString& message);
    // A big scene grows piece by piece: made of total pieces are in the view so far.
    void progress(int made, int total);
    void probed(const QStringList& lines);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;

private:
    void pageLoaded(bool ok);
    void call(const QString& script);

    bool ready = false;
    std::optional<QString> waitingScript;
};

} // namespace modulino::view
