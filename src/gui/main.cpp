#include "CommandLine.h"
#include "TModulino.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Help and version need no window system, so they answer where no display is reached.
bool asksOnlyForText(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::unique_ptr<QCoreApplication> app(asksOnlyForText(argc, argv)
                                                    ? new QCoreApplication(argc, argv)
                                                    : new QApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("modulino"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MODULINO_VERSION));

    using modulino::CommandLine;
    const CommandLine command = CommandLine::parse(QCoreApplication::arguments());
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

    QGuiApplication::setDesktopFileName(QStringLiteral("modulino"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/modulino.svg")));
    modulino::TModulino window;
    window.show();
    // Once the window shows, so that the questions and messages stand over it.
    QTimer::singleShot(0, &window, [&window, &command] {
        window.offerRecovery();
        if (!command.file.isEmpty())
            window.openFile(command.file);
    });
    return QCoreApplication::exec();
}
