#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace modulino {

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
// The file at `path` after any links, whatever its kind; nothing when there is none.
std::optional<FileIdentity> fileAt(const QString& path);
// Whether anything stands at `path`, a link included, even one that points nowhere.
bool pathTaken(const QString& path);

} // namespace modulino
