#include "commands/SceneExport.h"

#include "base/SceneFile.h"
#include "base/UserDialogs.h"
#include "scene/EditorState.h"
#include "vrml/SceneWriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace modulino {

namespace {

QStringList suffixesOf(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*(\\.\\w+)"));
    QStringList suffixes;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(filter))
        suffixes << match.captured(1);
    return suffixes;
}

} // namespace

QStringList exportFilters() {
    return {QStringLiteral("glTF (*.glb *.gltf)"), QStringLiteral("STL (*.stl)"),
            QStringLiteral("X3D (*.x3d)")};
}

QString exportPath(const QString& chosen, int filter) {
    const QStringList suffixes = suffixesOf(exportFilters().value(filter));
    for (const QString& suffix : suffixes) {
        if (chosen.endsWith(suffix, Qt::CaseInsensitive))
            return chosen;
    }
    return chosen + suffixes.value(0);
}

QString viewerProgram() {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& path :
         {dir + QStringLiteral("/modulino-view"), dir + QStringLiteral("/../view/modulino-view")}) {
        if (QFileInfo(path).isExecutable())
            return QFileInfo(path).absoluteFilePath();
    }
    return QStringLiteral("modulino-view");
}

QString exportFailure(QProcess& process) {
    if (process.error() == QProcess::FailedToStart)
        return process.program() + QStringLiteral(": ") + process.errorString();
    if (process.exitStatus() == QProcess::CrashExit)
        return process.errorString();
    if (process.exitCode() == 0)
        return {};
    // Qt's and Chromium's own notes, and the rules around X_ITE's messages, are left out.
    static const QRegularExpression noise(
        QStringLiteral("^(QStandardPaths: .*|\\[\\d+:\\d+:.*|\\**)$"));
    QStringList said;
    for (const QString& line :
         QString::fromLocal8Bit(process.readAllStandardError()).split(QLatin1Char('\n'))) {
        if (!noise.match(line.trimmed()).hasMatch())
            said << line;
    }
    return said.isEmpty()
               ? QStringLiteral("%1: exit code %2").arg(process.program()).arg(process.exitCode())
               : said.join(QStringLiteral("\r\n"));
}

SceneExport::SceneExport(EditorState& state, UserDialogs& dialogs)
    : s(state)
    , dialogs(dialogs) {}

void SceneExport::Exportovat1Click() {
    const QString name = QFileInfo(s.fileName).completeBaseName();
    const auto choice = dialogs.chooseFileToExport(
        name.isEmpty() ? name : name + QStringLiteral(".glb"), s.dialogFolder, exportFilters());
    if (!choice)
        return;
    const QString error = run(exportPath(choice->path, choice->filter));
    if (!error.isEmpty())
        dialogs.message(s.texts.notices.ExportFailed.arg(error));
}

// The scene goes to the viewer through a file of this export's own; the reason of a failure,
// or an empty string when exported or stopped by the user.
QString SceneExport::run(const QString& out) {
    ComposeScene(s);
    const QTemporaryDir folder;
    const QString scene = folder.filePath(QStringLiteral("scene.wrl"));
    if (QString error = writeWholeFile(scene, s.Final); !error.isEmpty())
        return error;
    QProcess process;
    process.start(viewer, {QStringLiteral("--export"), out, scene});
    if (!dialogs.waitShowingProgress(process, s.texts.notices.Exporting))
        return {};
    return exportFailure(process);
}

} // namespace modulino
