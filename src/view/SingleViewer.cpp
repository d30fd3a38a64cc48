#include "SingleViewer.h"

#include "base/FileIdentity.h"
#include "base/RuntimeSockets.h"

#include <QLocalSocket>

namespace modulino::view {

namespace {

constexpr int HandOffTimeoutMs = 3000;
const QByteArray Taken = "taken\n";

// A full path in the user's private runtime folder, one per display session; empty where there
// is none, and then every viewer keeps its own windows.
QString serverName() {
    return viewerSocketPath();
}

// Nothing stands at the socket's path, or the user's own socket does.
bool mayUse(const QString& path) {
    return !path.isEmpty() && (!pathTaken(path) || ownedByUser(path));
}

} // namespace

bool SingleViewer::handOff(const QString& path) {
    if (!mayUse(serverName()) || !pathTaken(serverName()))
        return false;
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(HandOffTimeoutMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(HandOffTimeoutMs))
        return false;
    while (socket.bytesAvailable() < Taken.size()) {
        if (!socket.waitForReadyRead(HandOffTimeoutMs))
            return false;
    }
    return socket.readAll() == Taken;
}

bool SingleViewer::listen(OpenFile open) {
    openFile = std::move(open);
    connect(&server, &QLocalServer::newConnection, this, &SingleViewer::answer);
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!mayUse(serverName()))
        return false;
    if (server.listen(serverName()))
        return true;
    if (server.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalSocket other;
    other.connectToServer(serverName());
    if (other.waitForConnected(HandOffTimeoutMs))
        return false; // a viewer started at the same moment listens already
    // A socket left behind by a viewer that crashed: nobody answers on it.
    QLocalServer::removeServer(serverName());
    return server.listen(serverName());
}

void SingleViewer::answer() {
    while (QLocalSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            const QString path = QString::fromUtf8(socket->readLine()).chopped(1);
            openFile(path);
            socket->write(Taken);
        });
    }
}

} // namespace modulino::view
