// Writes a generated scene file: modulino-scenegen PIECES FILE
#include "SceneGenerator.h"

#include "base/SceneFile.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool ok = false;
    const int pieces = args.value(1).toInt(&ok);
    if (args.size() != 3 || !ok || pieces < 0) {
        std::fprintf(stderr, "usage: modulino-scenegen PIECES FILE\n");
        return 2;
    }
    const QString error = modulino::writeWholeFile(args[2], modulino::bench::generateScene(pieces));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
