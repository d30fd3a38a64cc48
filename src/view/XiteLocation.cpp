#include "XiteLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace modulino::view {

namespace {

QStringList candidates() {
    const QString programDir = QCoreApplication::applicationDirPath();
    return {programDir + QStringLiteral("/x_ite"),
            programDir + QStringLiteral("/../share/modulino/x_ite")};
}

} // namespace

QString findXite() {
    for (const QString& dir : candidates()) {
        if (QFileInfo::exists(dir + QStringLiteral("/x_ite.js")))
            return QDir::cleanPath(dir);
    }
    return {};
}

QString missingXiteMessage() {
    return QStringLiteral("Prohlížeč X_ITE chybí: x_ite.js není v %1.\n"
                          "Nainstalujte jej příkazem scripts/install-deps (npm ci v kořeni "
                          "zdrojů) a program znovu sestavte, nebo jej nainstalujte přes "
                          "cmake --install.")
        .arg(candidates().join(QStringLiteral(" ani v ")));
}

} // namespace modulino::view
