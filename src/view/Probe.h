#pragma once

#include <QObject>
#include <QString>
#include <QWebEngineView>
#include <memory>

namespace modulino::view {

class ScenePage;

// modulino-view --probe FILE: loads the file as the window does, waits for its scripts and
// prints one line per Dilek piece; with --export OUT it writes the pieces to OUT instead. The
// exit codes are those of start().
class Probe : public QObject {
    Q_OBJECT

public:
    enum ExitCode { Done = 0, NotLoaded = 1, Unreadable = 2, NoXite = 3 };

    // Starts the probe; the application quits with its exit code when it is done. Returns
    // false, having printed why, when it cannot start (the code is then in exitCode()).
    // With a first file, that one is shown before path, as when path replaced it on disk.
    // With patches, it prints whether each patch of X_ITE is in place instead of the pieces.
    bool start(const QString& path, const QString& xiteDir, const QString& firstPath = {},
               bool patches = false);
    int exitCode() const { return code; }
    // Before start(): write the pieces to out, in the format its extension names, instead of
    // printing them; STL in scale millimetres per scene unit. False, having printed why, for an
    // extension of no format.
    bool exportTo(const QString& out, double scale);

private:
    void finish(ExitCode exit);
    void write(const QByteArray& bytes, int milliseconds);

    QString exportPath;
    QString exportFormat;
    double exportScale = 10;

    std::unique_ptr<QWebEngineView> view;
    int code = Done;
};

} // namespace modulino::view
