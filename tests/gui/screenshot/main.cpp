// Builds a small scene in the editor and saves a picture of its window:
//   modulino-screenshot <output.png>
#include "QtDialogs.h"
#include "TModulino.h"

#include <QApplication>
#include <QDir>
#include <QQueue>
#include <QTemporaryDir>

using namespace modulino;

namespace {

// Real dialogs, except that the colour dialog answers from a list.
class PresetColours : public QtDialogs {
public:
    QQueue<Colour> colours;
    std::optional<Colour> chooseColour(Colour initial) override {
        return colours.isEmpty() ? initial : colours.dequeue();
    }
};

struct Piece {
    int shape;
    Colour colour;
    std::array<int, 6> steps; // arrow presses on UDrx..UDz from the new piece's 1, 1, 1, 0, 0, 0
};

void addPiece(Editor& core, PresetColours& dialogs, const Piece& piece) {
    core.editing.PridejClick();
    for (int i = 0; i < 6; ++i)
        for (int n = 0; n < std::abs(piece.steps[std::size_t(i)]); ++n)
            core.editing.pressUpDown(UpDownId(i), piece.steps[std::size_t(i)] > 0 ? 1 : -1);
    core.editing.TvarChange(piece.shape);
    dialogs.colours.enqueue(piece.colour);
    core.editing.Shape1MouseDown();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: modulino-screenshot <output.png>");
        return 2;
    }
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir folder; // no lang.txt or proto.wrl of the caller's
    QDir::setCurrent(folder.path());

    PresetColours dialogs;
    TModulino window(&dialogs);
    Editor& core = window.editor();
    const Piece pieces[] = {
        {1, rgb(220, 40, 40), {20, 0, 10, 0, 0, 0}},   {2, rgb(40, 110, 220), {0, 10, 0, 20, 0, 0}},
        {0, rgb(250, 200, 30), {0, 0, 0, -20, 10, 5}}, {4, rgb(60, 180, 75), {5, 5, 5, 0, 30, -10}},
        {5, rgb(160, 60, 200), {10, 0, 10, 40, 0, 0}},
    };
    for (const Piece& piece : pieces)
        addPiece(core, dialogs, piece);
    core.editing.selectRow(2);
    core.panels.volbyClick();
    window.refresh();
    window.show();
    QApplication::processEvents();
    return window.grab().save(output) ? 0 : 1;
}
