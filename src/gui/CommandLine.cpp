#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace modulino {

CommandLine CommandLine::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edits construction-kit scenes (VRML .wrl files)."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The scene to open, as Ctrl+O would."),
                                 QStringLiteral("[FILE]"));

    CommandLine command;
    const bool understood = parser.parse(arguments) && parser.positionalArguments().size() <= 1;
    if (!understood) {
        command.action = Action::WrongUsage;
        const QString error = parser.errorText().isEmpty()
                                  ? QStringLiteral("More than one file was given.")
                                  : parser.errorText();
        command.message = error + QLatin1Char('\n') + parser.helpText();
    } else if (parser.isSet(help)) {
        command.action = Action::Help;
        command.message = parser.helpText();
    } else if (parser.isSet(version)) {
        command.action = Action::Version;
        command.message = QCoreApplication::applicationName() + QLatin1Char(' ') +
                          QCoreApplication::applicationVersion() + QLatin1Char('\n');
    } else if (!parser.positionalArguments().isEmpty()) {
        command.file = parser.positionalArguments().constFirst();
    }
    return command;
}

} // namespace modulino
