#include "base/PreviewFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace modulino {

int PreviewNameGenerator::next() {
    state = state * 134775813u + 1u;
    return int((std::uint64_t(state) * 1000u) >> 32);
}

namespace {

// Draws the generator needs, from its start, before it has given every number 0..999 once; after
// that many draws every name it can give has been tried.
constexpr int DrawsCoveringAllNames = 8217;

} // namespace

QString choosePreviewFileName(const QString& folder,
                              const std::function<bool(const QString&)>& exists) {
    const QDir dir(folder);
    QString candidate = dir.filePath(QStringLiteral("~prev00.wrl"));
    PreviewNameGenerator generator;
    for (int draw = 0; exists(candidate); ++draw) {
        if (draw == DrawsCoveringAllNames) {
            // Every name is taken: reserve a fresh one beside them rather than reuse a file of
            // someone else's, which the close would delete.
            QTemporaryFile reserved(dir.filePath(QStringLiteral("~prevXXXXXX.wrl")));
            reserved.setAutoRemove(false);
            return reserved.open() ? reserved.fileName() : QString();
        }
        candidate = dir.filePath(QStringLiteral("~prev%1.wrl").arg(generator.next()));
    }
    return candidate;
}

void choosePreviewTarget(QString& name, std::optional<FileIdentity>& own) {
    if (!pathTaken(name) || (own && regularFileAt(name) == own))
        return;
    const QString taken = name;
    name = choosePreviewFileName(QFileInfo(taken).absolutePath(), [&](const QString& path) {
        return path == taken || pathTaken(path);
    });
    // Only a name reserved just now, when every name was taken, has a file already.
    own = regularFileAt(name);
}

} // namespace modulino
