#include "TModulino.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    modulino::TModulino window;
    window.show();
    return app.exec();
}
