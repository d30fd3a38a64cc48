#pragma once

#include "base/UserDialogs.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

namespace modulino {

// Answers the core's questions from a script and records everything it was asked and shown.
// A question without a scripted answer fails the test that asked it.
class ScriptedDialogs : public UserDialogs {
public:
    // Scripted answers, consumed in order, one queue per kind of question.
    QQueue<bool> confirmAnswers;
    QQueue<Answer> threeButtonAnswers;
    QQueue<std::optional<QString>> openAnswers;
    QQueue<std::optional<QString>> saveAnswers;
    QQueue<std::optional<Colour>> colourAnswers;
    QQueue<std::optional<ArrayRequest>> arrayAnswers;
    QQueue<std::optional<FileChoice>> exportAnswers;

    // What was asked and shown, in order; each entry starts with its kind.
    QStringList log;
    QStringList messages;
    QStringList errors;
    QStringList viewed;
    QStringList saveDialogPrefills;
    int colourDialogs = 0;
    QList<bool> arrayClamped; // what the array dialog showed for each answer it gave
    int unexpected = 0;

    bool confirm(const QString& text) override;
    Answer confirmYesNoCancel(const QString& text) override;
    // Logged as "confirm (default Yes): " or "confirm (default No): "; answered from
    // confirmAnswers.
    bool confirmWithDefault(const QString& text, Answer preferred) override;
    void message(const QString& text) override;
    void errorReport(const QString& text) override;
    std::optional<QString> chooseFileToOpen(const QString& folder) override;
    std::optional<QString> chooseFileToSave(const QString& fileName,
                                            const QString& folder) override;
    std::optional<FileChoice> chooseFileToExport(const QString& fileName, const QString& folder,
                                                 const QStringList& filters) override;
    // Waits for the process, as if nobody stopped it.
    bool waitShowingProgress(QProcess& process, const QString& text) override;
    std::optional<Colour> chooseColour(Colour initial) override;
    void openInViewer(const QString& path) override;
    std::optional<ArrayRequest>
    chooseArray(const ArrayRequest& initial, const Notices& notices,
                const std::function<bool(const ArrayRequest&)>& clamped) override;

    // Whether every scripted answer was used and nothing unscripted was asked.
    bool allAnswered() const;
};

} // namespace modulino
