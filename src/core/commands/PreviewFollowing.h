#pragma once

#include "scene/History.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <memory>

class QThread;

namespace modulino {

struct EditorState;
class SceneCommands;
class UserDialogs;

// Once F3 has written the preview, every later change to the scene rewrites it, so the viewer
// that follows the file shows each edit. Changes in quick succession are written once, at most
// one write every WriteDelayMs. The scene is composed on the window's thread in slices of about a
// millisecond and written by a thread of its own, so that editing never waits for it.
class PreviewFollowing : public QObject {
    Q_OBJECT
public:
    static constexpr int WriteDelayMs = 100;

    PreviewFollowing(EditorState& state, SceneCommands& commands, UserDialogs& dialogs);
    ~PreviewFollowing() override;

    // "Náhled sleduje úpravy", on by default; off leaves the preview to F3 alone.
    bool isOn() const { return on; }
    void NahledSleduje1Click(bool ticked);
    // F3: waits for a write under way, then previews as always; from then on edits are followed.
    void NahledClick();
    // Edits are followed: on, F3 pressed, and the preview file is still the one written last.
    bool following() const { return on && started; }

    // After every handler: a changed scene is written soon.
    void afterHandler();
    // Writes the scene without the pause, even when it did not change (after a drag the view must
    // show the file).
    void rewrite();
    // Milliseconds until the next write starts, -1 when none is waiting.
    int msUntilWrite() const { return delay.isActive() ? delay.remainingTime() : -1; }
    // Writes at once what is due and waits until it is on disk.
    void finish();
    // Stops following and waits for a write under way; before the preview file is deleted.
    void stop();

    int writeCount() const { return writes; }

signals:
    void written();

private:
    void schedule();
    void startComposing();
    void composeSlice();
    void startWriting();
    void writingDone();
    bool ownFileStillThere() const;

    EditorState& s;
    SceneCommands& commands;
    UserDialogs& dialogs;
    bool on = true;
    bool started = false;
    bool dirty = false;
    bool atOnce = false;
    bool rowsChanged = false;
    SceneFields fieldsSeen;

    QTimer delay;
    QTimer slice;
    bool composing = false;
    QByteArray composed;
    qsizetype lastComposedSize = 0;
    int nextRow = 0;
    SceneFields fieldsComposed;
    int rowsComposed = 0;

    std::unique_ptr<QThread> writer;
    QString writingTo;
    QString writeError;
    int writes = 0;
};

} // namespace modulino
