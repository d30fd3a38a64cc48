#include "QtDialogs.h"

#include "ArrayDialog.h"
#include "QtColours.h"

#include "commands/Viewer.h"
#include <QColorDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>

#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

namespace modulino {

namespace {

const QString WrlFilter = QStringLiteral(".wrl (*.wrl)");

QMessageBox::StandardButton ask(QWidget* parent, const QString& text,
                                QMessageBox::StandardButtons buttons, bool closingIsCancel = false,
                                QMessageBox::StandardButton preferred = QMessageBox::NoButton) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), displayText(text), buttons,
                    parent);
    box.setTextFormat(Qt::PlainText);
    if (preferred != QMessageBox::NoButton)
        box.setDefaultButton(preferred);
    if (closingIsCancel) {
        // Esc and the title-bar box would otherwise answer No; a hidden Cancel takes them.
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        cancel->hide();
        box.setEscapeButton(cancel);
    }
    return QMessageBox::StandardButton(box.exec());
}

UserDialogs::Answer answerOf(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Yes:
        return UserDialogs::Answer::Yes;
    case QMessageBox::No:
        return UserDialogs::Answer::No;
    default:
        return UserDialogs::Answer::Cancel;
    }
}

void show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, displayText(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Qt's own file dialog: the desktop's open dialog would insist that the file exists.
void prepare(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(WrlFilter);
    dialog.setSizeGripEnabled(true);
}

std::optional<QString> chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// Qt's file and colour dialogs keep their folders, history and colours under "QtProject" in the
// user's configuration folder. The program keeps no settings between runs, so those go to a
// folder of this run that is removed when it ends.
void keepDialogSettingsForThisRun() {
    static const QTemporaryDir folder;
    static const bool redirected = [] {
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, folder.path());
        return true;
    }();
    Q_UNUSED(redirected);
}

} // namespace

QtDialogs::QtDialogs(QWidget* parent)
    : parent(parent) {
    keepDialogSettingsForThisRun();
}

QString QtDialogs::windowTitle() const {
    return parent ? parent->window()->windowTitle() : QString();
}

bool QtDialogs::confirm(const QString& text) {
    return ask(parent, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

UserDialogs::Answer QtDialogs::confirmYesNo(const QString& text) {
    return answerOf(ask(parent, text, QMessageBox::Yes | QMessageBox::No, true));
}

UserDialogs::Answer QtDialogs::confirmYesNoCancel(const QString& text) {
    return answerOf(ask(parent, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
}

bool QtDialogs::confirmWithDefault(const QString& text, Answer preferred) {
    const auto button = preferred == Answer::Yes ? QMessageBox::Yes : QMessageBox::No;
    return ask(parent, text, QMessageBox::Yes | QMessageBox::No, false, button) == QMessageBox::Yes;
}

void QtDialogs::message(const QString& text) {
    show(parent, QMessageBox::NoIcon, windowTitle(), text);
}

void QtDialogs::errorReport(const QString& text) {
    show(parent, QMessageBox::Critical, windowTitle(), text);
}

std::optional<QString> QtDialogs::chooseFileToOpen(const QString& folder) {
    QFileDialog dialog(parent, QString(), folder);
    prepare(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!lastOpened.isEmpty())
        dialog.selectFile(lastOpened);
    const auto chosen = chosenFile(dialog);
    if (chosen)
        lastOpened = *chosen;
    return chosen;
}

std::optional<QString> QtDialogs::chooseFileToSave(const QString& fileName, const QString& folder) {
    QFileDialog dialog(parent, QString(), folder);
    prepare(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("wrl"));
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    return chosenFile(dialog);
}

std::optional<UserDialogs::FileChoice> QtDialogs::chooseFileToExport(const QString& fileName,
                                                                     const QString& folder,
                                                                     const QStringList& filters) {
    QFileDialog dialog(parent, QString(), folder);
    prepare(dialog);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    const auto chosen = chosenFile(dialog);
    if (!chosen)
        return std::nullopt;
    return FileChoice{*chosen, int(filters.indexOf(dialog.selectedNameFilter()))};
}

// A busy bar until the process ends; Cancel or closing the box stops the process.
bool QtDialogs::waitShowingProgress(QProcess& process, const QString& text) {
    QProgressDialog progress(displayText(text), QProgressDialog::tr("Cancel"), 0, 0, parent);
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    QEventLoop loop;
    QObject::connect(&process, &QProcess::stateChanged, &loop,
                     [&loop](QProcess::ProcessState state) {
                         if (state == QProcess::NotRunning)
                             loop.quit();
                     });
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning) {
        progress.show();
        loop.exec();
    }
    if (process.state() == QProcess::NotRunning)
        return true;
    process.kill();
    process.waitForFinished();
    return false;
}

std::optional<Colour> QtDialogs::chooseColour(Colour initial) {
    const QColor chosen = QColorDialog::getColor(toQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return fromQColor(chosen);
}

void QtDialogs::openInViewer(const QString& path) {
    // The viewer's outcome is not examined: a viewer that does not start shows nothing.
    openInDesktopViewer(path);
}

QString displayText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::optional<ArrayRequest>
QtDialogs::chooseArray(const ArrayRequest& initial, const Notices& notices,
                       const std::function<bool(const ArrayRequest&)>& clamped) {
    ArrayDialog dialog(initial, notices, clamped, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.request();
}

} // namespace modulino
