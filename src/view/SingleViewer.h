#pragma once

#include <QLocalServer>
#include <QObject>
#include <functional>

namespace modulino::view {

// Keeps one viewer process per user and display session: the first one listens in the user's
// private runtime folder, later ones hand their file to it.
class SingleViewer : public QObject {
    Q_OBJECT

public:
    using OpenFile = std::function<void(const QString& path)>;

    // Gives path to a running viewer; true when that viewer took it.
    static bool handOff(const QString& path);

    // Starts listening; every file handed over goes to open. False when another viewer
    // listens already.
    bool listen(OpenFile open);

private:
    void answer();

    QLocalServer server;
    OpenFile openFile;
};

} // namespace modulino::view
