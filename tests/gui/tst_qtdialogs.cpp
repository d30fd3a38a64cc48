#include "QtDialogs.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace modulino;

namespace {

// Answers the next modal box with a key, once it is up.
void pressInNextBox(Qt::Key key) {
    QTimer::singleShot(0, [key] {
        QWidget* box = QApplication::activeModalWidget();
        QVERIFY(box);
        QTest::keyClick(box, key);
    });
}

// Clicks the button with this text in the next modal box.
void clickInNextBox(const QString& text) {
    QTimer::singleShot(0, [text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        for (QAbstractButton* button : box->buttons())
            if (button->isVisible() && button->text().remove(QLatin1Char('&')) == text)
                button->click();
    });
}

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void escapeIsNotYes();
    void escapeInTheSaveQuestionIsCancel();
    void buttonsAnswer();
    void enterTakesTheChosenDefault();
    void crLfShowsAsLineBreaks();
    void fileDialogsKeepNothingBetweenRuns();
};

void QtDialogsTest::escapeIsNotYes() {
    QtDialogs dialogs;
    pressInNextBox(Qt::Key_Escape);
    QVERIFY(!dialogs.confirm(QStringLiteral(" Ukončit program ?")));
    pressInNextBox(Qt::Key_Escape);
    QCOMPARE(dialogs.confirmYesNoCancel(QStringLiteral("Chcete nahradit existující soubor")),
             UserDialogs::Answer::Cancel);
}

// Closing the "save?" box must keep the window open, so it may not count as No.
void QtDialogsTest::escapeInTheSaveQuestionIsCancel() {
    QtDialogs dialogs;
    pressInNextBox(Qt::Key_Escape);
    QCOMPARE(dialogs.confirmYesNo(QStringLiteral("Scéna není uložena.\r\n Uložit ?")),
             UserDialogs::Answer::Cancel);
}

void QtDialogsTest::buttonsAnswer() {
    QtDialogs dialogs;
    clickInNextBox(QStringLiteral("No"));
    QCOMPARE(dialogs.confirmYesNo(QStringLiteral("?")), UserDialogs::Answer::No);
    clickInNextBox(QStringLiteral("Yes"));
    QCOMPARE(dialogs.confirmYesNo(QStringLiteral("?")), UserDialogs::Answer::Yes);
    clickInNextBox(QStringLiteral("Yes"));
    QVERIFY(dialogs.confirm(QStringLiteral("?")));
    clickInNextBox(QStringLiteral("No"));
    QCOMPARE(dialogs.confirmYesNoCancel(QStringLiteral("?")), UserDialogs::Answer::No);
}

void QtDialogsTest::enterTakesTheChosenDefault() {
    QtDialogs dialogs;
    pressInNextBox(Qt::Key_Return);
    QVERIFY(dialogs.confirmWithDefault(QStringLiteral("?"), UserDialogs::Answer::Yes));
    pressInNextBox(Qt::Key_Return);
    QVERIFY(!dialogs.confirmWithDefault(QStringLiteral("?"), UserDialogs::Answer::No));
}

void QtDialogsTest::crLfShowsAsLineBreaks() {
    QCOMPARE(displayText(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
}

// Each dialog starts in the folder it is given, and no settings file is left behind.
void QtDialogsTest::fileDialogsKeepNothingBetweenRuns() {
    QTemporaryDir work;
    QTemporaryDir elsewhere;
    for (int run = 0; run < 2; ++run) {
        QtDialogs dialogs;
        QStringList started;
        auto wander = [&] {
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                started << dialog->directory().absolutePath();
                dialog->setDirectory(elsewhere.path());
                dialog->reject();
            });
        };
        wander();
        QVERIFY(!dialogs.chooseFileToOpen(work.path()));
        wander();
        QVERIFY(!dialogs.chooseFileToSave(QString(), work.path()));
        QCOMPARE(started, QStringList(2, QDir(work.path()).absolutePath()));
    }
    QDirIterator config(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")), {"QtProject*"},
                        QDir::Files, QDirIterator::Subdirectories);
    QVERIFY2(!config.hasNext(), qPrintable(config.hasNext() ? config.next() : QString()));
}

// The user's configuration folder is one of the test's own, watched for files left behind.
int main(int argc, char* argv[]) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QtDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_qtdialogs.moc"
