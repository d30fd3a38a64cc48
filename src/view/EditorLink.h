#pragma once

#include "commands/ViewLink.h"

#include <QLocalSocket>
#include <QObject>

namespace modulino::view {

// The viewer's end of the link with the editor whose preview file a window shows. A file opened by
// hand has no editor behind it: the link stays unconnected and picks and drags go nowhere.
class EditorLink : public QObject {
    Q_OBJECT
public:
    explicit EditorLink(QString file, QObject* parent = nullptr);

    // Connects to the file's editor unless connected already; the window tries at every reload,
    // so an editor started later is found too.
    void connectToEditor();
    void send(const link::Message& message);

signals:
    void selected(const QList<int>& pieces, int current);
    void frameRequested();

private:
    void read();

    QString file;
    QLocalSocket socket;
};

} // namespace modulino::view
