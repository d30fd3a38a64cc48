#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QWebEnginePage>
#include <array>

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
    // Reports every Dilek piece of the shown world through probed(); the function "patches"
    // reports instead whether each patch of X_ITE is in place.
    void probe(const QString& function = QStringLiteral("probe"));
    // Outlines the current piece (counted from 1; 0 for none) in this and every later world.
    void markPieces(const QList<int>& pieces, int current);
    // Turns the camera to frame the outlined piece.
    void frameMark();
    // Makes the shown world's pieces into a file of the format ("glb", "gltf", "stl" or "x3d";
    // STL in scale millimetres per unit), handed over through exported().
    void exportScene(const QString& format, double scale);

signals:
    // milliseconds: parsing the text, building the world, its first frames; then the
    // JavaScript heap in use in MB (exact with --enable-precise-memory-info).
    void shown(const QStringList& viewpoints, int boundViewpoint, const QList<int>& milliseconds);
    void failed(const QString& message);
    // A big scene grows piece by piece: made of total pieces are in the view so far.
    void progress(int made, int total);
    void probed(const QStringList& lines);
    // A click on a piece's body; a piece let go after a drag, moved in scene units.
    void picked(int piece, bool ctrl);
    void dragged(int piece, const std::array<double, 3>& move);
    // The outline was put around the current piece.
    void marked(int current);
    // milliseconds: making the file in the page.
    void exported(const QByteArray& bytes, int milliseconds);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;

private:
    void pageLoaded(bool ok);
    // Runs script once the page is ready; of the scripts waiting with one key only the latest runs.
    void call(const QString& script, const QString& key = QStringLiteral("show"));
    void answered(const QJsonObject& answer);
    void fetchExport(int chunk, const QJsonObject& answer, QByteArray bytes);

    bool ready = false;
    QMap<QString, QString> waitingScripts;
};

} // namespace modulino::view
