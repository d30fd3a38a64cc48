#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace modulino {

// The generator the preview file names come from: a 32-bit linear congruential generator that
// starts at 0 in every run, so the names follow in the same order.
class PreviewNameGenerator {
public:
    // The next number, 0..999.
    int next();

private:
    std::uint32_t state = 0;
};

// Chooses the preview file in `folder`: "~prev00.wrl", else "~prev<n>.wrl" with n from the
// generator, the first name that does not exist.
QString choosePreviewFileName(const QString& folder,
                              const std::function<bool(const QString&)>& exists);

// Which file stands at a path: the same device, inode, size and modification time mean the same
// file, unchanged since it was seen.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The regular file at `path` itself, never a link's target; nothing for anything else.
std::optional<FileIdentity> regularFileAt(const QString& path);
// Whether anything stands at `path`, a link included, even one that points nowhere.
bool pathTaken(const QString& path);

// The file the next preview writes: `name` while nothing stands there or the preview's own file
// `own` still does; otherwise the first free name in the generator's order. Updates both.
void choosePreviewTarget(QString& name, std::optional<FileIdentity>& own);

} // namespace modulino
