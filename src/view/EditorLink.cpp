#include "EditorLink.h"

#include "base/FileIdentity.h"
#include "base/RuntimeSockets.h"

namespace modulino::view {

EditorLink::EditorLink(QString file, QObject* parent)
    : QObject(parent)
    , file(std::move(file)) {
    connect(&socket, &QLocalSocket::readyRead, this, &EditorLink::read);
}

void EditorLink::connectToEditor() {
    if (socket.state() != QLocalSocket::UnconnectedState)
        return;
    const QString path = editorSocketPath(file);
    // Someone else's socket in its place is never spoken to.
    if (path.isEmpty() || !pathTaken(path) || !ownedByUser(path))
        return;
    socket.connectToServer(path);
}

void EditorLink::send(const link::Message& message) {
    if (socket.state() == QLocalSocket::ConnectedState)
        socket.write(link::encode(message));
}

void EditorLink::read() {
    while (socket.canReadLine()) {
        const link::Message message = link::decode(socket.readLine());
        if (const auto* selection = std::get_if<link::Selection>(&message))
            emit selected(selection->pieces, selection->current);
        else if (std::holds_alternative<link::Frame>(message))
            emit frameRequested();
    }
}

} // namespace modulino::view
