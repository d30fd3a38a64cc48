#pragma once

#include "base/Colours.h"
#include "base/FileIdentity.h"
#include "base/FileLock.h"
#include "base/TextTables.h"
#include "scene/Controls.h"
#include "scene/History.h"
#include "scene/PieceTable.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QLocale>
#include <QString>
#include <array>

namespace modulino {

// Everything the editor knows: the piece table, what the window's controls hold, and the globals.
// The window shows this state and changes it only through the handlers.
struct EditorState {
    EditorState();
    EditorState(const EditorState&) = delete;
    EditorState& operator=(const EditorState&) = delete;

    TextTables texts = TextTables::builtIn();
    Captions captions;

    PieceTable SGDilky;
    int CurrentRow = 1;
    int MouseColumn = 0;
    bool OverColourColumn = false;

    bool SceneSaved = true;
    int AxisOrder = 0;           // 0 xyz, 1 xzy, 2 yzx
    bool BackCornerMode = false; // the back-corner picture Image2 is shown instead of Image1

    // Piece editing controls.
    std::array<UpDown, 6> upDowns;
    UpDown& upDown(UpDownId id) { return upDowns[std::size_t(id)]; }
    const UpDown& upDown(UpDownId id) const { return upDowns[std::size_t(id)]; }
    ShapeList Tvar;
    bool CBovl = false;
    bool CBSkryt = false;
    Colour Shape1 = White;
    Colour Shape2 = DefaultBackground;
    QString varovani; // the shape warning
    QString jmeno;    // the title label: the scene's file, or the untitled name

    // Help panel and option panels.
    bool PHelpVisible = false;
    bool volbyVisible = true;
    bool lbBodVisible = false;
    bool polohaVisible = false;
    bool Image3HintOn = true;

    // Prototype libraries, as the bytes of their lines, and the last composed scene file.
    QByteArrayList prototyp;
    QByteArrayList zaloha;
    QByteArrayList zalohan;
    QByteArray Final;

    QString PreviewFileName;
    std::optional<FileIdentity> previewFile; // the file the preview wrote there last
    QString fileName;                        // the current file name, as the save dialog holds it
    QString dialogFolder;                    // where the open and save dialogs start
    // The file last read or written at the current name, to tell a change by another program.
    QString diskPath;
    std::optional<FileIdentity> diskFile;
    std::optional<FileIdentity> reloadDeclined; // a change the user chose not to read again
    FileLock sceneLock;                         // marks the current file as open here
    QLocale SavedDecimalSeparator;              // the default locale at start, restored at close

    // Every change to the scene, for undo and redo.
    History history{*this};

    // The scene as it stands is the one in its file.
    void markSaved() {
        SceneSaved = true;
        history.markSaved();
    }

    bool sceneNamed() const { return jmeno != texts.MessageTexts[3]; }
};

// The letters on the axis tripod for a convention: up, right, front.
struct AxisLetters {
    QString up, right, front;
};
AxisLetters axisLetters(int axisOrder);

} // namespace modulino
