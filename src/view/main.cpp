// modulino-view: shows a Modulino scene file with the X_ITE VRML browser and follows its changes.
#include "Probe.h"
#include "SingleViewer.h"
#include "ViewerWindow.h"
#include "XiteLocation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLoggingCategory>
#include <map>
#include <memory>
#include <unistd.h>

using namespace modulino::view;

namespace {

// WebGL under Xvfb and software GL needs the GPU block list ignored; Chromium refuses to start
// its sandbox as root. The page collects the garbage of replaced pieces itself (gc).
void setChromiumFlags() {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --ignore-gpu-blocklist --js-flags=--expose-gc";
    if (geteuid() == 0)
        flags += " --no-sandbox";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

// The windows of this process, one per file.
class Windows {
public:
    explicit Windows(QString xiteDir)
        : xite(std::move(xiteDir)) {}

    void open(const QString& path) {
        const QString key = QFileInfo(path).absoluteFilePath();
        auto& window = windows[key];
        if (window) {
            window->reload();
        } else {
            window = std::make_unique<ViewerWindow>(key, xite);
            window->setAttribute(Qt::WA_QuitOnClose);
        }
        window->show();
        window->raise();
        window->activateWindow();
    }

private:
    QString xite;
    std::map<QString, std::unique_ptr<ViewerWindow>> windows;
};

} // namespace

int main(int argc, char* argv[]) {
    setChromiumFlags();
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("modulino-view"));
    QApplication::setDesktopFileName(QStringLiteral("modulino-view"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows a Modulino scene file (.wrl) with the X_ITE VRML browser.\n"
        "--probe prints, per Dilek piece: index, tvar, geometry type and the piece's bounding\n"
        "box (min x y z, max x y z). --export writes the pieces as built to OUT: .glb or\n"
        ".gltf (glTF 2.0, metres), .stl (binary, Z up, --scale millimetres per unit) or .x3d.\n"
        "Exit codes: 0 done; 1 X_ITE cannot load the scene; 2 the file cannot be read\n"
        "(or OUT written); 3 X_ITE is missing."));
    parser.addHelpOption();
    const QCommandLineOption probeOption(QStringLiteral("probe"),
                                         QStringLiteral("Print the pieces as loaded, then exit."));
    parser.addOption(probeOption);
    const QCommandLineOption firstOption(
        QStringLiteral("reload-from"),
        QStringLiteral("With --probe: show OTHER first, then FILE as after a change on disk."),
        QStringLiteral("OTHER"));
    parser.addOption(firstOption);
    const QCommandLineOption exportOption(
        QStringLiteral("export"), QStringLiteral("Write the pieces as built to OUT, then exit."),
        QStringLiteral("OUT"));
    const QCommandLineOption scaleOption(
        QStringLiteral("scale"), QStringLiteral("STL millimetres per scene unit (default 10)."),
        QStringLiteral("MM"), QStringLiteral("10"));
    parser.addOptions({exportOption, scaleOption});
    const QCommandLineOption patchesOption(
        QStringLiteral("patches"),
        QStringLiteral("With --probe: print, per X_ITE patch, whether the page finds it applied."));
    parser.addOption(patchesOption);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The scene file."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(Probe::Unreadable);
    const QString path = parser.positionalArguments().constFirst();

    if (parser.isSet(probeOption) || parser.isSet(exportOption)) {
        Probe probe;
        if (parser.isSet(exportOption) &&
            !probe.exportTo(parser.value(exportOption), parser.value(scaleOption).toDouble()))
            return probe.exitCode();
        if (!probe.start(path, findXite(), parser.value(firstOption), parser.isSet(patchesOption)))
            return probe.exitCode();
        return QApplication::exec();
    }

    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (SingleViewer::handOff(absolute))
        return 0;
    Windows windows(findXite());
    SingleViewer single;
    single.listen([&windows](const QString& file) { windows.open(file); });
    windows.open(absolute);
    return QApplication::exec();
}
