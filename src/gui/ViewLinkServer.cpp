#include "ViewLinkServer.h"

#include "base/FileIdentity.h"
#include "base/RuntimeSockets.h"

#include <QLocalSocket>

namespace modulino {

ViewLinkServer::ViewLinkServer(QObject* parent)
    : QObject(parent) {
    server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server, &QLocalServer::newConnection, this, &ViewLinkServer::accept);
}

ViewLinkServer::~ViewLinkServer() {
    close();
}

bool ViewLinkServer::listen(const QString& previewFile) {
    if (server.isListening() && listeningFor == previewFile)
        return true;
    close();
    const QString path = editorSocketPath(previewFile);
    if (path.isEmpty())
        return false;
    // Only a socket of ours can stand there: one left behind by an editor that crashed.
    if (pathTaken(path)) {
        if (!ownedByUser(path))
            return false;
        QLocalServer::removeServer(path);
    }
    listeningFor = previewFile;
    return server.listen(path);
}

void ViewLinkServer::close() {
    for (QLocalSocket* view : std::exchange(views, {})) {
        view->disconnect(this);
        view->deleteLater();
    }
    server.close();
    listeningFor.clear();
}

void ViewLinkServer::send(const QByteArray& line) {
    for (QLocalSocket* view : std::as_const(views))
        view->write(line);
}

void ViewLinkServer::accept() {
    while (QLocalSocket* view = server.nextPendingConnection()) {
        views << view;
        connect(view, &QLocalSocket::disconnected, this, [this, view] {
            views.removeOne(view);
            view->deleteLater();
        });
        connect(view, &QLocalSocket::readyRead, this, [this, view] {
            while (view->canReadLine())
                emit received(view->readLine());
        });
        emit viewConnected();
    }
}

} // namespace modulino
