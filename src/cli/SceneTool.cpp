#include "SceneTool.h"

#include "Editor.h"
#include "base/SceneFile.h"
#include "base/StreamDialogs.h"
#include "vrml/SceneWriter.h"

#include <cstdio>

namespace modulino::SceneTool {

namespace {

int open(Editor& editor, const QString& file) {
    editor.state.sceneLock.setMarking(false);
    switch (editor.opening.openFile(file)) {
    case SceneOpening::OpenResult::Opened:
        return Success;
    case SceneOpening::OpenResult::WrongForm:
        return NotAScene;
    case SceneOpening::OpenResult::NotReadable:
        break;
    }
    return Failure;
}

// A cell's text with its backslashes, tabs and line ends escaped, so that every row has twelve
// fields on one line.
QByteArray escapedCell(const QString& cell) {
    return cell.toUtf8()
        .replace('\\', "\\\\")
        .replace('\t', "\\t")
        .replace('\r', "\\r")
        .replace('\n', "\\n");
}

QByteArray pieceRows(const PieceTable& table) {
    QByteArray out;
    for (int r = 1; r < table.rowCount(); ++r) {
        const PieceRow& row = table.row(r);
        for (int c = 0; c < PieceTable::ColumnCount; ++c) {
            if (c > 0)
                out += '\t';
            out += escapedCell(row[c]);
        }
        out += '\n';
    }
    return out;
}

int writeOut(const QByteArray& bytes) {
    const QString error = writeStandardOutput(bytes);
    if (error.isEmpty())
        return Success;
    printError(QStringLiteral("Cannot write to standard output: %1").arg(error));
    return Failure;
}

} // namespace

QString writeStandardOutput(const QByteArray& bytes) {
    std::fflush(stdout);
    return writeToDescriptor(fileno(stdout), bytes);
}

int newScene(Editor& editor, bool backCorner) {
    if (backCorner)
        editor.panels.Image1Click();
    ComposeScene(editor.state);
    return writeOut(editor.state.Final);
}

int checkScene(Editor& editor, const QString& file) {
    if (const int code = open(editor, file); code != Success)
        return code;
    return writeOut(pieceRows(editor.state.SGDilky));
}

int rewriteScene(Editor& editor, const QString& file, const RewriteOptions& options) {
    // Save never writes what may be the prototype library, and neither does this.
    if (!options.output.isEmpty() && mayBePrototypeFile(options.output)) {
        printError(editor.state.texts.MessageTexts[7]);
        return Failure;
    }
    if (const int code = open(editor, file); code != Success)
        return code;
    EditorState& s = editor.state;
    switch (options.library) {
    case Library::Own:
        break;
    case Library::Front:
        editor.panels.lbBodClick(); // gives up the file's library for the front-corner one
        break;
    case Library::Back:
        editor.panels.Image1Click();
        break;
    }
    s.CBSkryt = options.hideControls;
    ComposeScene(s);
    if (options.output.isEmpty())
        return writeOut(s.Final);
    const QString error = writeWholeFile(options.output, s.Final);
    if (error.isEmpty())
        return Success;
    printError(error);
    return Failure;
}

} // namespace modulino::SceneTool
