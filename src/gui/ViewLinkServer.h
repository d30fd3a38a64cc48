#pragma once

#include <QList>
#include <QLocalServer>
#include <QObject>

class QLocalSocket;

namespace modulino {

// The editor's end of the link with the viewer that shows its preview file: a local socket in
// the user's private runtime folder, named after the session and the preview file, so that only
// that viewer finds it. Lines go both ways; what they mean is the core's ViewLinking.
class ViewLinkServer : public QObject {
    Q_OBJECT
public:
    explicit ViewLinkServer(QObject* parent = nullptr);
    ~ViewLinkServer() override;

    // Listens for the viewer of `previewFile` (again when the file's name changed). False where
    // there is no private folder or someone else holds the socket's name.
    bool listen(const QString& previewFile);
    void close();
    bool isListening() const { return server.isListening(); }
    // Sends a line to every viewer connected.
    void send(const QByteArray& line);

signals:
    void received(const QByteArray& line);
    void viewConnected();

private:
    void accept();

    QLocalServer server;
    QString listeningFor;
    QList<QLocalSocket*> views;
};

} // namespace modulino
