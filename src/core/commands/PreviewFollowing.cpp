#include "commands/PreviewFollowing.h"

#include "base/SceneFile.h"
#include "base/UserDialogs.h"
#include "commands/SceneCommands.h"
#include "scene/EditorState.h"
#include "vrml/SceneWriter.h"

#include <QElapsedTimer>
#include <QThread>

namespace modulino {

namespace {

constexpr qint64 SliceNs = 1'000'000;
constexpr int RowsBetweenClockReads = 256;

SceneParts partsOf(const EditorState& s) {
    return {s.prototyp, s.Shape2, s.SGDilky, s.texts, s.AxisOrder, s.CBSkryt};
}

} // namespace

PreviewFollowing::PreviewFollowing(EditorState& state, SceneCommands& commands,
                                   UserDialogs& dialogs)
    : s(state)
    , commands(commands)
    , dialogs(dialogs) {
    delay.setSingleShot(true);
    connect(&delay, &QTimer::timeout, this, &PreviewFollowing::startComposing);
    slice.setInterval(0);
    connect(&slice, &QTimer::timeout, this, &PreviewFollowing::composeSlice);
    const PieceTable* table = &s.SGDilky;
    const auto changed = [this] {
        rowsChanged = true;
    };
    connect(table, &PieceTable::rowsAppended, this, changed);
    connect(table, &PieceTable::rowRemoved, this, changed);
    connect(table, &PieceTable::rowInserted, this, changed);
    connect(table, &PieceTable::rowChanged, this, changed);
    connect(table, &PieceTable::rowsChanged, this, changed);
    connect(table, &PieceTable::piecesRemoved, this, changed);
    connect(table, &PieceTable::reset, this, changed);
}

PreviewFollowing::~PreviewFollowing() {
    stop();
}

void PreviewFollowing::NahledSleduje1Click(bool ticked) {
    on = ticked;
    if (on)
        afterHandler();
}

void PreviewFollowing::NahledClick() {
    stop();
    commands.NahledClick();
    started = ownFileStillThere();
    dirty = rowsChanged = false;
    fieldsSeen = sceneFields(s);
}

void PreviewFollowing::afterHandler() {
    if (rowsChanged) {
        rowsChanged = false;
        dirty = true;
    }
    if (SceneFields now = sceneFields(s); now != fieldsSeen) {
        fieldsSeen = std::move(now);
        dirty = true;
    }
    schedule();
}

// A drag ends with its release: there are no quick edits to wait for.
void PreviewFollowing::rewrite() {
    dirty = true;
    atOnce = true;
    if (delay.isActive())
        delay.start(0);
    schedule();
}

// At most one write is under way or waiting: later changes ride along with it.
void PreviewFollowing::schedule() {
    if (following() && dirty && !delay.isActive() && !composing && !writer)
        delay.start(atOnce ? 0 : WriteDelayMs);
}

void PreviewFollowing::startComposing() {
    if (!following())
        return;
    dirty = false;
    atOnce = false;
    composing = true;
    composed.clear();
    // Room for the file as last written and a little more, so the buffer seldom moves: moving
    // ten megabytes would hold up the window longer than a slice may.
    composed.reserve(lastComposedSize + lastComposedSize / 8 + 4096);
    fieldsComposed = sceneFields(s);
    rowsComposed = s.SGDilky.rowCount();
    composed += composeHead(s.prototyp, s.Shape2);
    nextRow = 1;
    slice.start();
}

// A change to a cell meanwhile is written by the next write; a changed row count or library
// starts the composition again, so that a file never holds a row twice or misses one.
void PreviewFollowing::composeSlice() {
    if (rowsComposed != s.SGDilky.rowCount() || fieldsComposed != sceneFields(s)) {
        slice.stop();
        composing = false;
        startComposing();
        return;
    }
    QElapsedTimer clock;
    clock.start();
    const SceneParts parts = partsOf(s);
    while (nextRow < rowsComposed && clock.nsecsElapsed() < SliceNs) {
        const int end = std::min(nextRow + RowsBetweenClockReads, rowsComposed);
        WritePieces(parts, composed, nextRow, end);
        nextRow = end;
    }
    if (nextRow < rowsComposed)
        return;
    slice.stop();
    composing = false;
    startWriting();
}

void PreviewFollowing::startWriting() {
    if (!ownFileStillThere()) {
        started = false; // another program's file stands there now: leave it alone
        return;
    }
    writingTo = s.PreviewFileName;
    lastComposedSize = composed.size();
    writer.reset(
        QThread::create([this, path = writingTo, bytes = std::exchange(composed, {})]() mutable {
            writeError = writeWholeFile(path, bytes);
            bytes = {}; // freed on the writer's thread
        }));
    connect(writer.get(), &QThread::finished, this, &PreviewFollowing::writingDone);
    writer->start();
}

void PreviewFollowing::writingDone() {
    if (!writer)
        return;
    writer->wait();
    writer.reset();
    if (!writeError.isEmpty()) {
        started = false;
        dialogs.errorReport(std::exchange(writeError, {}));
        return;
    }
    if (writingTo == s.PreviewFileName)
        s.previewFile = regularFileAt(writingTo);
    ++writes;
    emit written();
    schedule();
}

void PreviewFollowing::finish() {
    if (writer)
        writingDone();
    if (!following() || !(dirty || composing || delay.isActive()))
        return;
    delay.stop();
    slice.stop();
    composing = false;
    startComposing();
    while (composing)
        composeSlice();
    if (writer)
        writingDone();
}

void PreviewFollowing::stop() {
    started = false;
    atOnce = false;
    delay.stop();
    slice.stop();
    composing = false;
    if (writer)
        writingDone();
}

bool PreviewFollowing::ownFileStillThere() const {
    return s.previewFile && regularFileAt(s.PreviewFileName) == s.previewFile;
}

} // namespace modulino
