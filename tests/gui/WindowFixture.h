#pragma once

#include "ScriptedDialogs.h"
#include "TModulino.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace modulino {

// The main window, started in an empty working directory (or one that holds a copy of `langFile`
// as lang.txt), shown and active, with the core's questions answered from a script.
struct WindowFixture {
    explicit WindowFixture(const QString& langFile = QString()) {
        static const bool filtered =
            (standardHandler() = qInstallMessageHandler(dropSizeHintNotice));
        Q_UNUSED(filtered);
        QDir::setCurrent(folder.path());
        if (!langFile.isEmpty() &&
            !QFile::copy(langFile, folder.filePath(QStringLiteral("lang.txt"))))
            qFatal("cannot copy %s", qPrintable(langFile));
        window = std::make_unique<TModulino>(&dialogs);
        window->show();
        window->activateWindow();
        active = QTest::qWaitForWindowActive(window.get());
    }

    template <typename T = QWidget> T* child(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    // Adds a piece as the menu item does.
    void addPiece() const { child<QAction>("Pidat1")->trigger(); }
    EditorState& state() const { return window->editor().state; }
    const QString& cell(int column, int row) const { return state().SGDilky.cell(column, row); }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TModulino> window;
    bool active = false;

private:
    // The offscreen platform cannot pass a fixed window size on; it says so for every window.
    static QtMessageHandler& standardHandler() {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void dropSizeHintNotice(QtMsgType type, const QMessageLogContext& context,
                                   const QString& text) {
        if (!text.contains(QLatin1String("propagateSizeHints")) && standardHandler())
            standardHandler()(type, context, text);
    }
};

// The pointer moves to `pos` without a button held.
inline void movePointer(QWidget* widget, QPoint pos) {
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace modulino
