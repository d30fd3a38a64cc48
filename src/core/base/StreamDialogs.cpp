#include "base/StreamDialogs.h"

#include <QProcess>
#include <cstdio>

namespace modulino {

void printError(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!lines.endsWith(QLatin1Char('\n')))
        lines += QLatin1Char('\n');
    std::fputs(lines.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

bool StreamDialogs::confirm(const QString& text) {
    printError(text);
    return false;
}

UserDialogs::Answer StreamDialogs::confirmYesNoCancel(const QString& text) {
    printError(text);
    return Answer::Cancel;
}

bool StreamDialogs::confirmWithDefault(const QString& text, Answer) {
    printError(text);
    return false;
}

void StreamDialogs::message(const QString& text) {
    printError(text);
}

void StreamDialogs::errorReport(const QString& text) {
    printError(text);
}

std::optional<QString> StreamDialogs::chooseFileToOpen(const QString&) {
    return std::nullopt;
}

std::optional<QString> StreamDialogs::chooseFileToSave(const QString&, const QString&) {
    return std::nullopt;
}

std::optional<UserDialogs::FileChoice>
StreamDialogs::chooseFileToExport(const QString&, const QString&, const QStringList&) {
    return std::nullopt;
}

bool StreamDialogs::waitShowingProgress(QProcess& process, const QString&) {
    process.waitForFinished(-1);
    return true;
}

std::optional<Colour> StreamDialogs::chooseColour(Colour) {
    return std::nullopt;
}

void StreamDialogs::openInViewer(const QString&) {}

} // namespace modulino
