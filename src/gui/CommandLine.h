#pragma once

#include <QString>
#include <QStringList>

namespace modulino {

// What the program's command line asks for: `modulino [FILE]`, --help or --version.
struct CommandLine {
    enum class Action { Edit, Help, Version, WrongUsage };

    Action action = Action::Edit;
    QString file;    // the scene to open at start, as given; empty for none
    QString message; // the text to print for Help, Version and WrongUsage

    // `arguments` as QCoreApplication::arguments() gives them, the program first.
    static CommandLine parse(const QStringList& arguments);
};

} // namespace modulino
