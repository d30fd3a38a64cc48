#include "ScriptedDialogs.h"

#include <QProcess>
#include <QTest>

namespace modulino {

namespace {

template <typename T> T take(QQueue<T>& answers, int& unexpected, const char* what, T fallback) {
    if (answers.isEmpty()) {
        ++unexpected;
        QTest::qFail(qPrintable(QStringLiteral("unscripted %1").arg(QLatin1String(what))), __FILE__,
                     __LINE__);
        return fallback;
    }
    return answers.dequeue();
}

} // namespace

bool ScriptedDialogs::confirm(const QString& text) {
    log << QStringLiteral("confirm: ") + text;
    return take(confirmAnswers, unexpected, "confirm", false);
}

UserDialogs::Answer ScriptedDialogs::confirmYesNoCancel(const QString& text) {
    log << QStringLiteral("confirm3: ") + text;
    return take(threeButtonAnswers, unexpected, "three-button question", Answer::Cancel);
}

bool ScriptedDialogs::confirmWithDefault(const QString& text, Answer preferred) {
    log << (preferred == Answer::Yes ? QStringLiteral("confirm (default Yes): ")
                                     : QStringLiteral("confirm (default No): ")) +
               text;
    return take(confirmAnswers, unexpected, "confirm", false);
}

void ScriptedDialogs::message(const QString& text) {
    log << QStringLiteral("message: ") + text;
    messages << text;
}

void ScriptedDialogs::errorReport(const QString& text) {
    log << QStringLiteral("error: ") + text;
    errors << text;
}

std::optional<QString> ScriptedDialogs::chooseFileToOpen(const QString& folder) {
    log << QStringLiteral("open dialog: ") + folder;
    return take(openAnswers, unexpected, "open dialog", std::optional<QString>());
}

std::optional<QString> ScriptedDialogs::chooseFileToSave(const QString& fileName,
                                                         const QString& folder) {
    log << QStringLiteral("save dialog: ") + fileName + QStringLiteral(" in ") + folder;
    saveDialogPrefills << fileName;
    return take(saveAnswers, unexpected, "save dialog", std::optional<QString>());
}

std::optional<UserDialogs::FileChoice>
ScriptedDialogs::chooseFileToExport(const QString& fileName, const QString& folder,
                                    const QStringList& filters) {
    log << QStringLiteral("export dialog: %1 in %2 as %3")
               .arg(fileName, folder, filters.join(QStringLiteral(", ")));
    return take(exportAnswers, unexpected, "export dialog", std::optional<FileChoice>());
}

bool ScriptedDialogs::waitShowingProgress(QProcess& process, const QString& text) {
    log << QStringLiteral("progress: ") + text;
    process.waitForFinished(-1);
    return true;
}

std::optional<Colour> ScriptedDialogs::chooseColour(Colour initial) {
    log << QStringLiteral("colour dialog: %1").arg(initial);
    ++colourDialogs;
    return take(colourAnswers, unexpected, "colour dialog", std::optional<Colour>());
}

void ScriptedDialogs::openInViewer(const QString& path) {
    log << QStringLiteral("viewer: ") + path;
    viewed << path;
}

std::optional<ArrayRequest>
ScriptedDialogs::chooseArray(const ArrayRequest& /*initial*/, const Notices& notices,
                             const std::function<bool(const ArrayRequest&)>& clamped) {
    log << QStringLiteral("array dialog: ") + notices.ArrayTitle;
    auto answer = take(arrayAnswers, unexpected, "array dialog", std::optional<ArrayRequest>());
    if (answer)
        arrayClamped << clamped(*answer);
    return answer;
}

bool ScriptedDialogs::allAnswered() const {
    return unexpected == 0 && confirmAnswers.isEmpty() && threeButtonAnswers.isEmpty() &&
           openAnswers.isEmpty() && saveAnswers.isEmpty() && colourAnswers.isEmpty() &&
           arrayAnswers.isEmpty() && exportAnswers.isEmpty();
}

} // namespace modulino
