#include "ViewLinkServer.h"
#include "base/RuntimeSockets.h"

#include <QFile>
#include <QLocalServer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace modulino;

namespace {

constexpr uid_t SomeoneElse = 65534;

mode_t modeOf(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode : 0;
}

bool giveAway(const QString& path) {
    return ::lchown(QFile::encodeName(path).constData(), SomeoneElse, SomeoneElse) == 0;
}

} // namespace

// The editor's and the viewer's sockets live in the user's own runtime folder, one per display
// session, and anything there of someone else's is left alone.
class TestPrivateSocket : public QObject {
    Q_OBJECT

private slots:
    void init();
    void socketInPrivateFolder();
    void namedPerSession();
    void refused_data();
    void refused();

private:
    std::unique_ptr<QTemporaryDir> runtime;
};

void TestPrivateSocket::init() {
    runtime = std::make_unique<QTemporaryDir>();
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    qputenv("DISPLAY", ":7");
}

void TestPrivateSocket::socketInPrivateFolder() {
    ViewLinkServer server;
    QVERIFY(server.listen(runtime->filePath(QStringLiteral("~prev00.wrl"))));
    const QString socket = editorSocketPath(runtime->filePath(QStringLiteral("~prev00.wrl")));
    QVERIFY(socket.startsWith(runtime->path() + QLatin1Char('/')));
    QVERIFY(S_ISSOCK(modeOf(socket)));
    QCOMPARE(modeOf(socket) & 077, 0u);
    QVERIFY(ownedByUser(socket));
    QVERIFY(viewerSocketPath().startsWith(runtime->path() + QLatin1Char('/')));
}

void TestPrivateSocket::namedPerSession() {
    const QString preview = runtime->filePath(QStringLiteral("~prev00.wrl"));
    const QString onSeven = editorSocketPath(preview);
    const QString viewerOnSeven = viewerSocketPath();
    qputenv("DISPLAY", ":8");
    QVERIFY(editorSocketPath(preview) != onSeven);
    QVERIFY(viewerSocketPath() != viewerOnSeven);
    QVERIFY(editorSocketPath(runtime->filePath(QStringLiteral("~prev01.wrl"))) !=
            editorSocketPath(preview));
    qputenv("WAYLAND_DISPLAY", "wayland-1");
    QVERIFY(viewerSocketPath().endsWith(QStringLiteral("wayland-1")));
    qunsetenv("WAYLAND_DISPLAY");
}

// A folder or a socket of another user is never used, and the socket is not removed.
void TestPrivateSocket::refused_data() {
    QTest::addColumn<bool>("folderTaken");

    QTest::newRow("someone else's folder") << true;
    QTest::newRow("someone else's socket") << false;
}

void TestPrivateSocket::refused() {
    QFETCH(bool, folderTaken);

    const QString preview = runtime->filePath(QStringLiteral("~prev00.wrl"));
    const QString socket = editorSocketPath(preview);
    QLocalServer other;
    QVERIFY(other.listen(socket));
    if (!giveAway(folderTaken ? runtime->path() : socket))
        QSKIP("only root can give a file to another user");

    ViewLinkServer server;
    if (folderTaken) {
        // Qt then falls back to a folder of the user's own, or to none.
        QVERIFY(privateSocketFolder() != runtime->path());
        QVERIFY(!editorSocketPath(preview).startsWith(runtime->path()));
        QVERIFY(!viewerSocketPath().startsWith(runtime->path()));
    } else {
        QVERIFY(!server.listen(preview));
        QVERIFY(!server.isListening());
    }
    QVERIFY(S_ISSOCK(modeOf(socket))); // left where it was
}

QTEST_MAIN(TestPrivateSocket)
#include "tst_privatesocket.moc"
