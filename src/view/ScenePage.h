#pragma once

#include <QString>
#include <QStringList>
#include <QWebEnginePage>
#include <optional>

class QJsonObject;

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
    // Reports every Dilek piece of the shown world through probed().
    void probe();
    // Makes the shown world's pieces into a file of the format ("glb", "gltf", "stl" or "x3d";
    // STL in scale millimetres per unit), handed over through exported().
    void exportScene(const QString& format, double scale);

signals:
    // milliseconds: parsing the text, building the world, its first frames.
    void shown(const QStringList& viewpoints, int boundViewpoint, const QList<int>& milliseconds);
    void failed(const QString& message);
    void probed(const QStringList& lines);
    // milliseconds: making the file in the page.
    void exported(const QByteArray& bytes, int milliseconds);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;

private:
    void pageLoaded(bool ok);
    void call(const QString& script);
    void fetchExport(int chunk, const QJsonObject& answer, QByteArray bytes);

    bool ready = false;
    std::optional<QString> waitingScript;
};

} // namespace modulino::view
