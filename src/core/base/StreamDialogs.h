#pragma once

#include "base/UserDialogs.h"

namespace modulino {

// Answers for a program without a window (the command-line companion, the benchmarks): nothing
// is chosen or confirmed, and every message or error report goes to standard error.
class StreamDialogs : public UserDialogs {
public:
    bool confirm(const QString& text) override;
    Answer confirmYesNoCancel(const QString& text) override;
    bool confirmWithDefault(const QString& text, Answer preferred) override;
    void message(const QString& text) override;
    void errorReport(const QString& text) override;
    std::optional<QString> chooseFileToOpen(const QString& folder) override;
    std::optional<QString> chooseFileToSave(const QString& fileName,
                                            const QString& folder) override;
    std::optional<FileChoice> chooseFileToExport(const QString& fileName, const QString& folder,
                                                 const QStringList& filters) override;
    bool waitShowingProgress(QProcess& process, const QString& text) override;
    std::optional<Colour> chooseColour(Colour initial) override;
    void openInViewer(const QString& path) override;
};

// Writes a text to standard error as one or more terminal lines.
void printError(const QString& text);

} // namespace modulino
