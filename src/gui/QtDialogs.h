#pragma once

#include "base/UserDialogs.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace modulino {

// The core's questions answered with the desktop's own boxes and dialogs.
class QtDialogs : public UserDialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr);

    bool confirm(const QString& text) override;
    Answer confirmYesNo(const QString& text) override;
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
    std::optional<ArrayRequest>
    chooseArray(const ArrayRequest& initial, const Notices& notices,
                const std::function<bool(const ArrayRequest&)>& clamped) override;

private:
    QString windowTitle() const;

    QPointer<QWidget> parent;
    QString lastOpened; // the open dialog offers the file it gave last time
};

// The core's texts break lines with CR LF; widgets want LF.
QString displayText(QString text);

} // namespace modulino
