#include "SingleViewer.h"

#include <QLocalSocket>

namespace modulino::view {

namespace {

constexpr int HandOffTimeoutMs = 3000;
const QByteArray Taken = "taken\n";

// Local sockets live in the temporary folder, so one name per user.
QString serverName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("LOGNAME", QStringLiteral("user"));
    return QStringLiteral("modulino-view-") + user;
}

} // namespace

bool SingleViewer::handOff(const QString& path) {
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
