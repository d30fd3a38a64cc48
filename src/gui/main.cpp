#include "TModulino.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("modulino"));
    modulino::TModulino window;
    window.show();
    return app.exec();
}
