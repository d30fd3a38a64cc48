#pragma once

#include <QString>

namespace modulino {

struct EditorState;
class UserDialogs;

// Preview, save, save as and show saved.
class SceneCommands {
public:
    SceneCommands(EditorState& state, UserDialogs& dialogs);

    void NahledClick();
    void Uloit1Click();
    void Uloitjako1Click();
    void Zobrazituloenou1Click();

    // The save steps shared with the close query; each works on the composed Final.
    // Asks the save dialog and writes there; true once written.
    bool saveThroughDialog();
    // Writes Final to the current file name, refusing a "proto" path; true once written.
    bool writeToCurrentFile();
    // "Chcete nahradit existující soubor", a line break, the current file name and " ?".
    QString overwriteQuestion() const;

private:
    bool refusedAsPrototypeFile(const QString& path);
    bool write(const QString& path);

    EditorState& s;
    UserDialogs& dialogs;
};

} // namespace modulino
