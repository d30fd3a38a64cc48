#pragma once

#include "base/Colours.h"
#include "base/TextTables.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class QProcess;

namespace modulino {

// What the array dialog asks for: how many copies, and the offset of each further copy in tenths
// along the table's x, y and z columns (the axis convention in force).
struct ArrayRequest {
    int count = 1;
    std::array<int, 3> offset{};
    bool operator==(const ArrayRequest&) const = default;
};

// Everything the core asks the user or shows to the user goes through here. The window answers
// with real dialogs; tests answer from a script.
class UserDialogs {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~UserDialogs() = default;

    // A confirmation box with Yes and No; anything but Yes (closing the box included) is not Yes.
    virtual bool confirm(const QString& text) = 0;
    // A confirmation box with Yes, No and Cancel; closing it counts as Cancel.
    virtual Answer confirmYesNoCancel(const QString& text) = 0;
    // A confirmation box with Yes and No that tells No from a box closed without an answer
    // (Cancel). A window that can tell them apart overrides this; by default not Yes counts as No.
    virtual Answer confirmYesNo(const QString& text) {
        return confirm(text) ? Answer::Yes : Answer::No;
    }
    // A confirmation box with Yes and No whose default button (Enter) is `preferred`; anything
    // but Yes is not Yes.
    virtual bool confirmWithDefault(const QString& text, Answer preferred) = 0;
    // A plain message box with an OK button.
    virtual void message(const QString& text) = 0;
    // The program's general error report for a failure no command handles (a file not written).
    virtual void errorReport(const QString& text) = 0;

    // The open dialog: the chosen path or nothing when cancelled.
    virtual std::optional<QString> chooseFileToOpen(const QString& folder) = 0;
    // The save dialog, pre-filled with the current file name; asks before overwriting.
    virtual std::optional<QString> chooseFileToSave(const QString& fileName,
                                                    const QString& folder) = 0;
    // A save dialog offering the filters ("STL (*.stl)"…), pre-filled with fileName; asks before
    // overwriting. The chosen path and the index of the filter chosen with it, or nothing.
    struct FileChoice {
        QString path;
        int filter = 0;
    };
    virtual std::optional<FileChoice> chooseFileToExport(const QString& fileName,
                                                         const QString& folder,
                                                         const QStringList& filters) = 0;
    // Shows text, and that work goes on, until the started process ends. False when the user
    // stopped the process instead.
    virtual bool waitShowingProgress(QProcess& process, const QString& text) = 0;
    // The colour dialog: the confirmed colour or nothing.
    virtual std::optional<Colour> chooseColour(Colour initial) = 0;

    // The array dialog, starting from `initial`, with the texts of `notices`; `clamped` says
    // whether a request would stop a copy at the edge of the position range, which the dialog
    // shows. Nothing when cancelled.
    virtual std::optional<ArrayRequest>
    chooseArray(const ArrayRequest& /*initial*/, const Notices& /*notices*/,
                const std::function<bool(const ArrayRequest&)>& /*clamped*/) {
        return std::nullopt;
    }

    // Hands an existing file to the desktop's viewer and does not wait for it.
    virtual void openInViewer(const QString& path) = 0;
};

} // namespace modulino
