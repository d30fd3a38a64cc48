#include "commands/Recovery.h"

#include "base/SceneFile.h"
#include "base/UserDialogs.h"
#include "commands/SceneFileGuard.h"
#include "commands/SceneOpening.h"
#include "scene/EditorState.h"
#include "vrml/SceneWriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRandomGenerator>

#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace modulino {

namespace {

constexpr qint64 SliceNs = 2'000'000; // the longest the window's thread composes at a time

QJsonArray identityJson(const std::optional<FileIdentity>& file) {
    if (!file)
        return {};
    return {QString::number(file->device), QString::number(file->inode),
            QString::number(file->size), QString::number(file->modifiedNs)};
}

std::optional<FileIdentity> identityFrom(const QJsonArray& parts) {
    if (parts.size() != 4)
        return std::nullopt;
    return FileIdentity{parts[0].toString().toULongLong(), parts[1].toString().toULongLong(),
                        parts[2].toString().toLongLong(), parts[3].toString().toLongLong()};
}

struct Job {
    QString scenePath, recordPath;
    QByteArray head;
    QByteArrayList pieces;
    QByteArray record;
};

// The scene first, then its record: a record always finds its scene whole. The worker yields the
// processor to the window's thread.
void runJob(const Job& job) {
    ::setpriority(PRIO_PROCESS, pid_t(::gettid()), 10);
    QByteArray bytes = job.head + job.pieces.join();
    // A copy that cannot be written is not worth a message every two seconds.
    if (writeWholeFile(job.scenePath, bytes).isEmpty())
        writeWholeFile(job.recordPath, job.record);
}

// The processor time this thread has used: what a stretch of work costs the window's thread
// whatever else the machine runs.
qint64 threadCpuNs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

std::unique_ptr<QLockFile> ownerLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0); // stale only when its process is gone
    return lock;
}

} // namespace

QString recoveryFolder() {
    return stateFolder();
}

RecoveryCopy::RecoveryCopy(EditorState& state, QString folder)
    : s(state)
    , folder(std::move(folder))
    , id(QStringLiteral("%1-%2")
             .arg(QCoreApplication::applicationPid())
             .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))) {
    writer.setMaxThreadCount(1);
    writer.setExpiryTimeout(-1); // one thread for the editor's life, not one started per copy
    due.setSingleShot(true);
    connect(&due, &QTimer::timeout, this, [this] {
        if (s.SceneSaved)
            return discard();
        composing = true;
        slices.start(0);
    });
    connect(&slices, &QTimer::timeout, this, [this] {
        const qint64 start = threadCpuNs();
        if (composeSlice(SliceNs)) {
            slices.stop();
            composing = false;
            startWrite(false);
        }
        longest = std::max(longest, threadCpuNs() - start);
    });
    const PieceTable& table = s.SGDilky;
    connect(&table, &PieceTable::rowChanged, this, [this](int row) { rowsChanged(row); });
    connect(&table, &PieceTable::rowsChanged, this, [this](int first, int) { rowsChanged(first); });
    connect(&table, &PieceTable::rowInserted, this, [this](int row) { rowsChanged(row); });
    connect(&table, &PieceTable::rowRemoved, this, [this](int row) { rowsChanged(row); });
    connect(&table, &PieceTable::rowsAppended, this,
            [this](int first, int) { rowsChanged(first); });
    connect(&table, &PieceTable::piecesRemoved, this, [this] { rowsChanged(1); });
    connect(&table, &PieceTable::reset, this, [this] { rowsChanged(1); });
}

RecoveryCopy::~RecoveryCopy() {
    discard();
}

QString RecoveryCopy::pathOf(const QString& copyId, const char* suffix) const {
    return folder + QLatin1Char('/') + copyId + QLatin1StringView(suffix);
}

QString RecoveryCopy::scenePath() const {
    return pathOf(id, ".wrl");
}

RecoveryCopy::Fields RecoveryCopy::fieldsNow() const {
    return {s.prototyp, s.Shape2, s.AxisOrder, s.CBSkryt, s.fileName, s.diskFile};
}

void RecoveryCopy::rowsChanged(int firstRow) {
    if (firstRow < 1)
        return; // the header row is not written
    changedFrom = std::min(changedFrom, firstRow);
    tableChanged = true;
}

void RecoveryCopy::update() {
    if (s.SceneSaved)
        return discard();
    if (!tableChanged && copyKept() && fieldsNow() == written)
        return;
    tableChanged = false;
    pending = true;
    schedule();
}

void RecoveryCopy::schedule() {
    if (!pending || composing || writing || due.isActive())
        return;
    const qint64 wait = sinceWrite.isValid() ? IntervalMs - sinceWrite.elapsed() : 0;
    due.start(int(std::clamp<qint64>(wait, 0, IntervalMs)));
}

// Lines made for another axis convention or hide-controls tick, or of rows changed since, go.
void RecoveryCopy::dropChangedLines() {
    const std::pair<int, bool> now{s.AxisOrder, s.CBSkryt};
    if (composedFor != now) {
        composedFor = now;
        changedFrom = 1;
    }
    const auto keep = std::min(lineEnds.size(), std::size_t(changedFrom - 1));
    changedFrom = INT_MAX;
    if (keep == lineEnds.size())
        return;
    lineEnds.resize(keep);
    chunks.resize((qsizetype(keep) + ChunkRows - 1) / ChunkRows);
    if (keep % ChunkRows != 0)
        chunks.back().truncate(lineEnds.back());
}

bool RecoveryCopy::composeSlice(qint64 budgetNs) {
    QElapsedTimer clock;
    clock.start();
    dropChangedLines();
    const SceneParts parts{s.prototyp, s.Shape2, s.SGDilky, s.texts, s.AxisOrder, s.CBSkryt};
    const int end = s.SGDilky.rowCount();
    int row = int(lineEnds.size()) + 1;
    while (row < end) {
        if ((row - 1) % ChunkRows == 0)
            chunks.append(QByteArray());
        QByteArray& chunk = chunks.back();
        WritePieces(parts, chunk, row, row + 1);
        lineEnds.push_back(chunk.size());
        if (++row % 64 == 0 && clock.nsecsElapsed() > budgetNs)
            return false;
    }
    return true;
}

void RecoveryCopy::startWrite(bool wait) {
    takeOwnership();
    written = fieldsNow();
    QJsonObject record{{QStringLiteral("file"), written.fileName},
                       {QStringLiteral("axes"), written.axisOrder},
                       {QStringLiteral("owner"), QCoreApplication::applicationPid()},
                       {QStringLiteral("disk"), identityJson(written.diskFile)}};
    auto job = std::make_shared<Job>(Job{scenePath(), pathOf(id, ".json"),
                                         composeHead(s.prototyp, s.Shape2), chunks,
                                         QJsonDocument(record).toJson(QJsonDocument::Compact)});
    pending = false;
    writing = true;
    sinceWrite.start();
    const int current = ++generation;
    if (wait) {
        runJob(*job);
        return writeDone(current);
    }
    // The worker lets go of the lines before the window's thread may change them again.
    writer.start([this, job = std::move(job), current]() mutable {
        runJob(*job);
        job.reset();
        QMetaObject::invokeMethod(
            this, [this, current] { writeDone(current); }, Qt::QueuedConnection);
    });
}

void RecoveryCopy::writeDone(int done) {
    if (done != generation || !writing)
        return;
    writing = false;
    if (s.SceneSaved)
        discard();
    else
        schedule();
}

void RecoveryCopy::writeNow() {
    update();
    writer.waitForDone();
    writeDone(generation);
    if (s.SceneSaved)
        return;
    due.stop();
    slices.stop();
    composing = false;
    composeSlice(std::numeric_limits<qint64>::max());
    startWrite(true);
}

void RecoveryCopy::discard() {
    due.stop();
    slices.stop();
    composing = false;
    pending = false;
    tableChanged = false;
    if (writing) {
        writer.waitForDone();
        writing = false;
        ++generation;
    }
    if (!owner)
        return;
    QFile::remove(scenePath());
    QFile::remove(pathOf(id, ".json"));
    owner.reset(); // unlocks: the lock file goes last
}

void RecoveryCopy::takeOwnership() {
    if (owner)
        return;
    QDir().mkpath(folder);
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    owner = ownerLock(pathOf(id, ".lock"));
    owner->tryLock(0);
}

bool RecoveryCopy::offerLeftCopies(UserDialogs& dialogs, SceneOpening& opening) {
    clearPassingNames(folder);
    const QFileInfoList copies =
        QDir(folder).entryInfoList({QStringLiteral("*.wrl")}, QDir::Files, QDir::Time);
    for (const QFileInfo& copy : copies) {
        const QString copyId = copy.completeBaseName();
        auto lock = ownerLock(pathOf(copyId, ".lock"));
        if (copyId == id || !lock->tryLock(0))
            continue; // its editor still runs
        const QString record = pathOf(copyId, ".json");
        const QString file = QJsonDocument::fromJson(readWholeFile(record).bytes)
                                 .object()
                                 .value(QStringLiteral("file"))
                                 .toString();
        const QString question = s.texts.notices.RecoveryOffer.arg(
            file.isEmpty() ? s.texts.MessageTexts[3] : file,
            copy.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        if (!dialogs.confirmWithDefault(question, UserDialogs::Answer::Yes)) {
            QFile::remove(copy.filePath());
            QFile::remove(record);
            continue;
        }
        if (!restore(copy.filePath(), record, dialogs, opening))
            continue;
        discard();
        id = copyId;
        owner = std::move(lock);
        written = fieldsNow();
        tableChanged = false; // the copy holds these rows already
        return true;
    }
    return false;
}

// Reads the copy as Open would, then gives the scene back its file name, its axis convention and
// the identity of its file, unsaved.
bool RecoveryCopy::restore(const QString& copy, const QString& recordPath, UserDialogs& dialogs,
                           SceneOpening& opening) {
    const QJsonObject record = QJsonDocument::fromJson(readWholeFile(recordPath).bytes).object();
    const int previousAxes = s.AxisOrder;
    s.AxisOrder = std::clamp(record.value(QStringLiteral("axes")).toInt(), 0, 2);
    if (opening.openFile(copy) != SceneOpening::OpenResult::Opened) {
        s.AxisOrder = previousAxes;
        return false;
    }
    const QString file = record.value(QStringLiteral("file")).toString();
    forgetSceneFile(s);
    s.fileName = file;
    s.jmeno = file.isEmpty() ? s.texts.MessageTexts[3] : file;
    s.SceneSaved = false;
    s.history.markNotSaved();
    if (!file.isEmpty()) {
        rememberSceneFile(s, dialogs, file);
        s.diskFile = identityFrom(record.value(QStringLiteral("disk")).toArray());
    }
    return true;
}

} // namespace modulino
