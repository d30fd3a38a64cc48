#pragma once

#include <QByteArray>
#include <QString>

namespace modulino {

class Editor;

// The commands of modulino-scene. Each works on an editor started as the window starts it and
// returns the process's exit code.
namespace SceneTool {

enum ExitCode {
    Success = 0,
    NotAScene = 1, // the file was read but is not a scene (the editor's MessageTexts[5])
    Failure = 2,   // wrong usage, or a file that cannot be read or written
};

enum class Library { Own, Front, Back };

struct RewriteOptions {
    QString output; // empty: standard output
    bool hideControls = false;
    Library library = Library::Own;
};

// The scene a freshly started editor composes; with `backCorner` after a click on the
// front-corner picture.
int newScene(Editor& editor, bool backCorner);
// Opens the file as Ctrl+O does and prints each piece row's twelve cells, tab-separated.
int checkScene(Editor& editor, const QString& file);
// Opens the file as Ctrl+O does and writes it again as Save would.
int rewriteScene(Editor& editor, const QString& file, const RewriteOptions& options);

// The bytes exactly as given, without any conversion. Returns the system's reason for a failure,
// or an empty string.
QString writeStandardOutput(const QByteArray& bytes);

} // namespace SceneTool
} // namespace modulino
