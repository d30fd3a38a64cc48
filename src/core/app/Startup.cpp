#include "app/Startup.h"

#include "app/Translate.h"
#include "base/PreviewFileName.h"
#include "base/SceneFile.h"
#include "base/UserDialogs.h"
#include "scene/EditorState.h"
#include "vrml/Libraries.h"
#include "vrml/TextLines.h"

#include <QDir>
#include <QFileInfo>

namespace modulino {

namespace {

void writeHeaderRow(EditorState& s) {
    PieceRow header;
    header[0] = s.texts.MessageTexts[0];
    header[1] = s.texts.MessageTexts[1];
    const char* const axes[] = {"rx", "ry", "rz", "x", "y", "z"};
    for (int i = 0; i < 6; ++i)
        header[2 + i] = QString::fromLatin1(axes[i]);
    header[8] = s.texts.YesText + QStringLiteral(" / ") + s.texts.NoText;
    s.SGDilky.setRow(0, header);
}

} // namespace

void FormCreate(EditorState& s, UserDialogs& dialogs, const QString& workingDirectory) {
    const QDir dir(workingDirectory);
    s.prototyp = frontCornerLibrary();
    s.zaloha = spareFrontCornerLibrary();
    s.zalohan = backCornerLibrary();

    s.texts = TextTables::builtIn();
    s.BackCornerMode = false;
    s.AxisOrder = 0;
    s.OverColourColumn = false;
    s.SceneSaved = true;

    // Numbers are written and read with '.' whatever the locale; the default is given back at
    // close.
    s.SavedDecimalSeparator = QLocale();
    QLocale::setDefault(QLocale::c());

    s.PreviewFileName = choosePreviewFileName(dir.absolutePath(), pathTaken);
    s.previewFile = regularFileAt(s.PreviewFileName); // a name reserved when all were taken
    s.fileName.clear();
    s.dialogFolder = dir.absolutePath();

    const QString langFile = dir.filePath(QStringLiteral("lang.txt"));
    if (QFileInfo::exists(langFile)) {
        const QString error = Translate(s, langFile);
        if (!error.isEmpty())
            dialogs.errorReport(error);
    }

    s.Shape2 = DefaultBackground;
    writeHeaderRow(s);
    s.SGDilky.removePieces();
    s.SGDilky.setHeaderFixed(false);
    s.SGDilky.setCurrentRow(0);
    s.CurrentRow = 1;

    const QString protoFile = dir.filePath(QStringLiteral("proto.wrl"));
    if (QFileInfo::exists(protoFile)) {
        const FileRead read = readWholeFile(protoFile, TextFileSizeLimit);
        if (!read.ok()) {
            dialogs.errorReport(read.error);
            return;
        }
        s.prototyp = splitLinesCopy(read.bytes);
        s.zaloha = s.prototyp;
    }
}

} // namespace modulino
