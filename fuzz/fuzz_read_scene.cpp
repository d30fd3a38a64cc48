// The reader on arbitrary file bytes, on a freshly started editor that answers no question. What
// it reads must be written and read back to as many pieces, also through the clipboard.
#include "Editor.h"
#include "vrml/SceneReader.h"
#include "vrml/SceneWriter.h"
#include "vrml/TextLines.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

using namespace modulino;

namespace {

class SilentDialogs : public UserDialogs {
public:
    bool confirm(const QString&) override { return false; }
    Answer confirmYesNoCancel(const QString&) override { return Answer::Cancel; }
    bool confirmWithDefault(const QString&, Answer) override { return false; }
    void message(const QString&) override {}
    void errorReport(const QString&) override {}
    std::optional<QString> chooseFileToOpen(const QString&) override { return std::nullopt; }
    std::optional<QString> chooseFileToSave(const QString&, const QString&) override {
        return std::nullopt;
    }
    std::optional<FileChoice> chooseFileToExport(const QString&, const QString&,
                                                 const QStringList&) override {
        return std::nullopt;
    }
    bool waitShowingProgress(QProcess&, const QString&) override { return false; }
    std::optional<Colour> chooseColour(Colour) override { return std::nullopt; }
    void openInViewer(const QString&) override {}
};

// A working directory without "lang.txt" or "proto.wrl": every input meets the built-in texts.
QString emptyFolder() {
    static const QTemporaryDir folder;
    return folder.path();
}

void require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    SilentDialogs dialogs;
    Editor editor(dialogs);
    editor.FormCreate(emptyFolder());
    EditorState& s = editor.state;
    s.AxisOrder = size > 0 ? data[0] % 3 : 0;

    const QByteArrayList libraryBefore = s.prototyp;
    if (!readScene(s, editor.editing, bytes)) {
        // A failed read changes nothing.
        require(s.prototyp == libraryBefore && s.SGDilky.isEmpty());
        return 0;
    }
    // The library is the file's lines above its first background line, as they stood.
    const QList<QByteArrayView> lines = splitLines(bytes);
    require(s.prototyp.size() < lines.size());
    for (qsizetype i = 0; i < s.prototyp.size(); ++i)
        require(s.prototyp[i] == lines[i] && !lines[i].contains("Background"));
    require(lines[s.prototyp.size()].contains("Background"));

    ComposeScene(s);
    Editor again(dialogs);
    again.FormCreate(emptyFolder());
    again.state.AxisOrder = s.AxisOrder;
    require(readScene(again.state, again.editing, s.Final));
    require(again.state.SGDilky.rowCount() == s.SGDilky.rowCount());

    // The same pieces through the clipboard: copied, pasted, selected, taken back in one step.
    editor.selection.VybratVse1Click();
    const QString copied = editor.transfer.Kopirovat1Click();
    const int pieces = s.SGDilky.rowCount() - 1;
    require(again.transfer.Vlozit1Click(copied) == (pieces > 0));
    require(again.state.SGDilky.rowCount() == 1 + 2 * pieces);
    require(again.state.SGDilky.selectedCount() == pieces);
    again.undoRedo.ZpetClick();
    require(again.state.SGDilky.rowCount() == 1 + pieces);
    return 0;
}
