#pragma once

#include "Editor.h"

#include <QMainWindow>
#include <array>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QSessionManager;

namespace modulino {

class ColourSwatch;
class PieceTableView;
class QtDialogs;
class ShapeCombo;
class UpDownArrows;
class ViewLinkServer;

// The program's one window. It owns no scene state: every user event runs one handler of the
// core, and then the window redraws from the core's state.
class TModulino : public QMainWindow {
    Q_OBJECT
public:
    static constexpr QSize ClientSize{682, 505};

    // With `dialogs` the core asks its questions there (tests); otherwise through real dialogs.
    explicit TModulino(UserDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~TModulino() override;

    Editor& editor() { return core; }
    // Shows the core's state: texts, ticks, colours, selection, visible panels.
    void refresh();
    // Opens the scene at `path` as "Načíst" does once its dialog has chosen the file.
    void openFile(const QString& path);
    // At start-up, before any file: offers the recovery copies left by editors that ended.
    void offerRecovery();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Becoming active, the window looks whether its file was changed on disk.
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename Handler> void run(Handler&& handler);
    // For what leaves a value being typed as it is: the pointer's moves, the typed value itself.
    template <typename Handler> void runWhileTyping(Handler&& handler);

    void buildHeader();
    void buildEditingRow();
    void buildTable();
    void buildRightColumn();
    void buildHelpPanel();
    void buildOptionsArea();
    void buildAxisPanel();
    QLabel* letter(QWidget* parent, const char* name, QPoint place);
    void buildMenu();
    void keepMenuBarHeight();
    void stackControls();
    void applyCaptions();
    void refreshOptions();
    void linkToView();
    void followScene();
    void buildGroupEditing();
    void refreshGroupEditing();
    void commitData(QSessionManager& manager);

    QLabel* label(QWidget* parent, const char* name, int x, int y);
    QAction* action(QMenu* menu, const char* name, const QKeySequence& shortcut);
    QPushButton* button(const char* name, const QRect& place, const QString& hint);

    std::unique_ptr<QtDialogs> ownDialogs;
    Editor core;
    bool closeApproved = false; // the session's end already passed the close query
    bool closed = false;

    QWidget* client = nullptr;
    std::vector<QWidget*> graphicControls; // labels, pictures and swatches, beneath the rest

    QLabel* jmeno = nullptr;
    QLabel* varovani = nullptr;
    ColourSwatch* Shape1 = nullptr;
    ColourSwatch* Shape2 = nullptr;
    ShapeCombo* Tvar = nullptr;
    std::array<UpDownArrows*, 6> upDowns{};
    QCheckBox* CBovl = nullptr;
    QCheckBox* CBSkryt = nullptr;
    PieceTableView* SGDilky = nullptr;
    QFrame* PHelp = nullptr;

    QWidget* Image1 = nullptr;
    QWidget* Image2 = nullptr;
    QWidget* Image3 = nullptr;
    QLabel* lbBod = nullptr;
    QLabel* lbUp = nullptr;
    QLabel* lbRight = nullptr;
    QLabel* lbFront = nullptr;
    QPushButton* bezvoleb = nullptr;
    QFrame* poloha = nullptr;
    std::array<QWidget*, 3> axisFrames{}; // ShXYZ, ShXZY, ShYZX
    QFrame* volby = nullptr;
    QAction* Zpet1 = nullptr;
    QAction* Znovu1 = nullptr;
    QAction* Duplikovat1 = nullptr;
    ViewLinkServer* viewLink = nullptr;
    std::vector<QAction*> groupActions; // greyed out with an empty table
};

} // namespace modulino
