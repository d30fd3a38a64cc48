#pragma once

#include "base/Colours.h"
#include "base/FileIdentity.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QElapsedTimer>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <climits>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;

namespace modulino {

struct EditorState;
class UserDialogs;
class SceneOpening;

// Where recovery copies live: the state folder, $XDG_STATE_HOME/modulino.
QString recoveryFolder();

// While the scene has unsaved changes, keeps a copy of what Save would write in the recovery
// folder, with a record of the file name, the axis convention and the owning process, so that a
// crash, a kill or a power cut loses at most the last two seconds. A lock file beside the copy
// tells a later editor whether its owner still runs.
//
// The piece lines are composed a slice at a time on the window's thread, again only from the first
// row changed since, and the file is written on a worker thread: with 100,000 pieces the window
// never waits for more than a slice.
class RecoveryCopy : public QObject {
public:
    static constexpr int IntervalMs = 2000;

    explicit RecoveryCopy(EditorState& state, QString folder = recoveryFolder());
    ~RecoveryCopy() override; // a normal end: the copy goes
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // After every handler: a changed unsaved scene is written within IntervalMs, never more often;
    // a scene that is saved (or was undone to its saved state) has no copy.
    void update();
    // Composes and writes at once and waits for the write (tests, benchmarks).
    void writeNow();
    // At start-up: for each copy left by an editor that no longer runs, asks whether to restore
    // it. Yes reads it and keeps it as this editor's copy; No deletes it. True once one is
    // restored; later ones then wait for the next start.
    bool offerLeftCopies(UserDialogs& dialogs, SceneOpening& opening);

    QString scenePath() const;
    bool copyKept() const { return owner != nullptr; }
    // A copy is due, being composed or being written.
    bool busy() const { return due.isActive() || composing || writing; }
    // The most processor time the window's thread has spent on a copy at a time (the benchmark's
    // figure).
    qint64 longestStretchNs() const { return longest; }

private:
    // What the copy holds besides the piece lines.
    struct Fields {
        QByteArrayList library;
        Colour background = 0;
        int axisOrder = 0;
        bool hideControls = false;
        QString fileName;
        std::optional<FileIdentity> diskFile;
        bool operator==(const Fields&) const = default;
    };
    Fields fieldsNow() const;

    void rowsChanged(int firstRow);
    void schedule();
    // Composes rows until the budget is spent; true once every row is composed.
    bool composeSlice(qint64 budgetNs);
    void dropChangedLines();
    void startWrite(bool wait);
    void writeDone(int generation);
    void discard();
    void takeOwnership();
    bool restore(const QString& copy, const QString& record, UserDialogs& dialogs,
                 SceneOpening& opening);

    QString pathOf(const QString& id, const char* suffix) const;

    EditorState& s;
    QString folder;
    QString id; // the copy's name: process and a random part

    // The piece lines composed so far, ChunkRows rows to a chunk, so that growing moves little.
    static constexpr int ChunkRows = 4096;
    QByteArrayList chunks;
    std::vector<qsizetype> lineEnds;  // where each composed row's line ends in its chunk
    int changedFrom = INT_MAX;        // the first row changed since it was composed
    std::pair<int, bool> composedFor; // the axis convention and hide-controls they were made for
    bool tableChanged = false;
    Fields written;

    bool pending = false; // the scene changed since the copy was last begun
    bool composing = false;
    bool writing = false;
    int generation = 0;
    qint64 longest = 0;
    QTimer due;
    QTimer slices;
    QElapsedTimer sinceWrite;
    QThreadPool writer;
    std::unique_ptr<QLockFile> owner; // held while this editor has a copy
};

} // namespace modulino
