#include "CommandLine.h"
#include "TModulino.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("modulino"));
    QApplication::setApplicationVersion(QStringLiteral(MODULINO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("modulino"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/modulino.svg")));

    using modulino::CommandLine;
    const CommandLine command = CommandLine::parse(QApplication::arguments());
    switch (command.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        std::fputs(qPrintable(command.message), stdout);
        return 0;
    case CommandLine::Action::WrongUsage:
        std::fputs(qPrintable(command.message), stderr);
        return 2;
    case CommandLine::Action::Edit:
        break;
    }

    modulino::TModulino window;
    window.show();
    // Once the window shows, so that the questions and messages stand over it.
    QTimer::singleShot(0, &window, [&window, &command] {
        window.offerRecovery();
        if (!command.file.isEmpty())
            window.openFile(command.file);
    });
    return app.exec();
}
