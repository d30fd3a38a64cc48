#pragma once

#include <QString>

namespace modulino {

// Where the editor and the viewer put their local sockets: the user's runtime folder
// (QStandardPaths::RuntimeLocation), and only while it belongs to the user and nobody else may
// enter it. Each socket is named after the display session, so two sessions of one user never
// meet. Every function gives an empty path where no private folder is to be had.

// The display session as a name part: $WAYLAND_DISPLAY, else $DISPLAY, else $XDG_SESSION_ID.
QString sessionTag();
// The private socket folder, or nothing.
QString privateSocketFolder();
// The viewer's single-window socket.
QString viewerSocketPath();
// The socket of the editor that writes the preview file `previewFile`; its viewer connects there.
QString editorSocketPath(const QString& previewFile);
// Whether what stands at `path` (the link itself, not its target) belongs to this user. A socket
// of someone else is never connected to, listened on or removed.
bool ownedByUser(const QString& path);

} // namespace modulino
