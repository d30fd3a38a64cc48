// modulino-scene: reads and writes scene files the way the editor does, without a window.
#include "Editor.h"
#include "SceneTool.h"
#include "base/StreamDialogs.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

using namespace modulino;

namespace {

struct Command {
    const char* name;
    const char* summary;
    bool takesFile;
};

constexpr Command Commands[] = {
    {"new", "Writes the scene a freshly started editor composes to standard output.", false},
    {"check",
     "Reads FILE as the editor opens it (Ctrl+O) and prints each piece row's twelve\n"
     "cells, separated by tabs, one row a line, in UTF-8. A tab, CR, LF or backslash\n"
     "in a cell is printed as \\t, \\r, \\n or \\\\.",
     true},
    {"rewrite",
     "Reads FILE as the editor opens it (Ctrl+O) and writes the scene again as Save\n"
     "would: the file's own library above the background line, or a built-in one.\n"
     "Like Save, it refuses an OUT whose path contains \"proto\".",
     true},
};

const char* const Description =
    "Reads and writes Modulino scene files (.wrl) as the editor does. It starts as the editor\n"
    "does in the working directory, so \"lang.txt\" and \"proto.wrl\" there apply.\n"
    "\n"
    "Commands:\n"
    "  new       the scene of a freshly started editor\n"
    "  check     read a scene and print its piece table\n"
    "  rewrite   read a scene and write it again\n"
    "\n"
    "Run 'modulino-scene COMMAND --help' for the options of a command.\n"
    "Exit codes: 0 done; 1 the file is not a scene of the editor's form;\n"
    "2 wrong usage, or a file that cannot be read or written.";

// A parser's help under our own usage line: options follow the command.
void printHelp(const QCommandLineParser& parser, const QString& syntax) {
    QString text = parser.helpText();
    text.replace(0, text.indexOf(QLatin1Char('\n')),
                 QStringLiteral("Usage: modulino-scene ") + syntax);
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

int usageError(const QString& text) {
    printError(QStringLiteral("modulino-scene: %1\nTry 'modulino-scene --help'.").arg(text));
    return SceneTool::Failure;
}

const Command* findCommand(const QString& name) {
    for (const Command& command : Commands)
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

std::optional<int> axisOrderNamed(const QString& name) {
    const QStringList names{QStringLiteral("xyz"), QStringLiteral("xzy"), QStringLiteral("yzx")};
    const qsizetype order = names.indexOf(name);
    return order < 0 ? std::nullopt : std::optional<int>(int(order));
}

int run(const QStringList& arguments) {
    QCommandLineParser top;
    top.setApplicationDescription(QString::fromUtf8(Description));
    top.addPositionalArgument(QStringLiteral("command"), QStringLiteral("new, check or rewrite"),
                              QStringLiteral("COMMAND [options]"));
    const QCommandLineOption topHelp = top.addHelpOption();
    top.addVersionOption();
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(arguments))
        return usageError(top.errorText());
    if (top.isSet(topHelp)) {
        printHelp(top, QStringLiteral("COMMAND [options]"));
        return SceneTool::Success;
    }
    if (top.isSet(QStringLiteral("version")))
        top.showVersion();
    const QStringList commandLine = top.positionalArguments();
    if (commandLine.isEmpty())
        return usageError(QStringLiteral("no command given."));
    const Command* command = findCommand(commandLine.first());
    if (!command)
        return usageError(QStringLiteral("unknown command '%1'.").arg(commandLine.first()));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(command->summary));
    parser.addPositionalArgument(QString::fromLatin1(command->name),
                                 QStringLiteral("The command."));
    if (command->takesFile)
        parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A scene file."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption axes(
        QStringLiteral("axes"),
        QStringLiteral("The axis convention of the table: xyz (the default), xzy or yzx."),
        QStringLiteral("order"), QStringLiteral("xyz"));
    const QCommandLineOption backCorner(
        QStringLiteral("back-corner"),
        QStringLiteral("The back-corner library, as after a click on the front-corner picture."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write to OUT instead of standard output."),
                                    QStringLiteral("OUT"));
    const QCommandLineOption hideControls(
        QStringLiteral("hide-controls"),
        QStringLiteral("Write every piece with its manipulators hidden (\"Skrýt ovladače\")."));
    const QCommandLineOption library(
        QStringLiteral("library"),
        QStringLiteral(
            "Write a built-in library (front or back corner) instead of the file's own."),
        QStringLiteral("front|back"));
    parser.addOption(axes);
    const QString name = QString::fromLatin1(command->name);
    const bool isNew = name == QLatin1String("new");
    const bool isRewrite = name == QLatin1String("rewrite");
    if (isNew)
        parser.addOption(backCorner);
    if (isRewrite)
        parser.addOptions({output, hideControls, library});

    if (!parser.parse(QStringList{arguments.first()} + commandLine))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        printHelp(parser,
                  name + QLatin1String(command->takesFile ? " FILE [options]" : " [options]"));
        return SceneTool::Success;
    }
    const QStringList positional = parser.positionalArguments();
    const qsizetype expected = command->takesFile ? 2 : 1;
    if (positional.size() < expected)
        return usageError(QStringLiteral("%1 needs a FILE.").arg(name));
    if (positional.size() > expected)
        return usageError(QStringLiteral("unexpected argument '%1'.").arg(positional[expected]));
    const auto axisOrder = axisOrderNamed(parser.value(axes));
    if (!axisOrder)
        return usageError(QStringLiteral("--axes takes xyz, xzy or yzx."));
    SceneTool::RewriteOptions rewrite;
    if (isRewrite) {
        if (parser.isSet(library)) {
            const QString value = parser.value(library);
            if (value == QLatin1String("front"))
                rewrite.library = SceneTool::Library::Front;
            else if (value == QLatin1String("back"))
                rewrite.library = SceneTool::Library::Back;
            else
                return usageError(QStringLiteral("--library takes front or back."));
        }
        rewrite.output = parser.value(output);
        if (parser.isSet(output) && rewrite.output.isEmpty())
            return usageError(QStringLiteral("--output needs a file name."));
        rewrite.hideControls = parser.isSet(hideControls);
    }

    // Kept to the end of the process: freeing a large scene row by row would only cost time.
    static StreamDialogs dialogs;
    static Editor& editor = *new Editor(dialogs);
    editor.FormCreate(QDir::currentPath());
    editor.state.AxisOrder = *axisOrder;
    if (isNew)
        return SceneTool::newScene(editor, parser.isSet(backCorner));
    if (isRewrite)
        return SceneTool::rewriteScene(editor, positional[1], rewrite);
    return SceneTool::checkScene(editor, positional[1]);
}

// A name whose bytes do not come back from its text (not valid UTF-8) would name another file.
std::optional<QString> unrepresentableArgument(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QString text = QFile::decodeName(argv[i]);
        if (QFile::encodeName(text) != argv[i])
            return text;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("modulino-scene"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MODULINO_VERSION));
    if (const auto name = unrepresentableArgument(argc, argv)) {
        printError(QStringLiteral("modulino-scene: the name '%1' cannot be represented: it is not "
                                  "valid UTF-8. Nothing was read or written.")
                       .arg(*name));
        return SceneTool::Failure;
    }
    return run(QCoreApplication::arguments());
}
