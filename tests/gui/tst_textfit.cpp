#include "WindowFixture.h"

#include "QtDialogs.h"
#include "ShapeCombo.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleOptionComboBox>

using namespace modulino;

namespace {

QString tooWide(const QString& text, int width, int room) {
    return QStringLiteral("\"%1\" needs %2 px, has %3").arg(text).arg(width).arg(room);
}

// A label that sizes itself shows its whole text unless a neighbour or its parent's edge cuts it.
QString cutLabel(const QLabel* label) {
    if (label->size() != label->sizeHint())
        return QStringLiteral("\"%1\" is not sized to its text").arg(label->text());
    const QWidget* parent = label->parentWidget();
    if (!parent->contentsRect().contains(label->geometry()))
        return QStringLiteral("\"%1\" runs out of its parent").arg(label->text());
    for (const QObject* other : parent->children()) {
        const auto* sibling = qobject_cast<const QWidget*>(other);
        if (sibling && sibling != label && sibling->isVisibleTo(parent) &&
            sibling->geometry().intersects(label->geometry()))
            return QStringLiteral("\"%1\" meets %2").arg(label->text(), sibling->objectName());
    }
    return {};
}

// The fixed-size warning label shows each of the six shape warnings whole.
QString cutWarnings(const QLabel* label, const TextTables& texts) {
    for (int i = 0; i < 6; ++i) {
        const QString text = displayText(texts.ShapeTexts[std::size_t(i)]);
        const QSize needed = label->fontMetrics().size(0, text);
        if (needed.width() > label->width() || needed.height() > label->height())
            return tooWide(text, needed.width(), label->width());
    }
    return {};
}

QString cutFixedText(const QString& text, const QFontMetrics& metrics, int room) {
    const int width = metrics.horizontalAdvance(text);
    return width > room ? tooWide(text, width, room) : QString();
}

// Buttons and check boxes: the style's size for the caption, margins included, fits the control.
QString cutButton(const QAbstractButton* button) {
    const int width = button->sizeHint().width();
    return width > button->width() ? tooWide(button->text(), width, button->width()) : QString();
}

QString cutShapeList(const ShapeCombo* list) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = false;
    const int room =
        list->style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
            .width();
    QStringList texts{list->shownText()};
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    for (const QString& text : texts)
        if (QString cut = cutFixedText(text, list->fontMetrics(), room); !cut.isEmpty())
            return cut;
    return {};
}

// Every top-level caption stands in the bar itself, none in its overflow.
QString cutMenus(const QMenuBar* bar) {
    for (QAction* item : bar->actions()) {
        const QRect place = bar->actionGeometry(item);
        const int width = bar->fontMetrics().horizontalAdvance(item->text());
        if (!bar->rect().contains(place) || place.width() < width)
            return tooWide(item->text(), width, place.width());
    }
    return {};
}

} // namespace

class TestTextFit : public QObject {
    Q_OBJECT

private slots:
    void everyTextShowsWhole_data();
    void everyTextShowsWhole();
    void emptyMenuCaptionsKeepTheBarHeight();
};

void TestTextFit::everyTextShowsWhole_data() {
    QTest::addColumn<QString>("langFile");
    QTest::addColumn<QString>("control");
    const std::pair<const char*, QString> languages[] = {
        {"built-in", QString()},
        {"cs", QStringLiteral(MODULINO_SOURCE_DIR "/lang/cs/lang.txt")},
        {"en", QStringLiteral(MODULINO_SOURCE_DIR "/lang/en/lang.txt")},
    };
    const char* controls[] = {
        "Label1", "jmeno",  "Label6", "Label5",   "Label4",  "varovani", "Label14", "volby",
        "Label8", "Label3", "Label7", "Label24",  "Label10", "Label9",   "Label11", "Label13",
        "Pridej", "Del",    "Nahled", "bezvoleb", "CBovl",   "CBSkryt",  "Tvar",    "menus",
    };
    for (const auto& [language, file] : languages)
        for (const char* control : controls)
            QTest::addRow("%s %s", language, control) << file << QString::fromLatin1(control);
}

void TestTextFit::everyTextShowsWhole() {
    QFETCH(QString, langFile);
    QFETCH(QString, control);
    WindowFixture f(langFile);
    QWidget* widget = control == QLatin1String("menus") ? f.window->menuBar()
                                                        : f.window->findChild<QWidget*>(control);
    QVERIFY(widget);
    QString cut;
    if (control == QLatin1String("menus"))
        cut = cutMenus(f.window->menuBar());
    else if (control == QLatin1String("varovani"))
        cut = cutWarnings(static_cast<QLabel*>(widget), f.state().texts);
    else if (control == QLatin1String("Label14"))
        cut = cutFixedText(static_cast<QLabel*>(widget)->text(), widget->fontMetrics(),
                           widget->width());
    else if (control == QLatin1String("volby"))
        cut = cutFixedText(widget->findChild<QLabel*>()->text(), widget->fontMetrics(),
                           static_cast<QFrame*>(widget)->contentsRect().width());
    else if (auto* list = qobject_cast<ShapeCombo*>(widget))
        cut = cutShapeList(list);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        cut = cutButton(button);
    else
        cut = cutLabel(static_cast<QLabel*>(widget));
    QVERIFY2(cut.isEmpty(), qPrintable(cut));
}

void TestTextFit::emptyMenuCaptionsKeepTheBarHeight() {
    WindowFixture normal;
    const int height = normal.window->menuBar()->height();
    QVERIFY(height > 10);

    QTemporaryDir folder;
    const QString langFile = folder.filePath(QStringLiteral("lang.txt"));
    QFile file(langFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(72, '\n')); // every text empty, the menu captions too
    file.close();
    WindowFixture empty(langFile);
    QCOMPARE(empty.window->menuBar()->height(), height);
    QCOMPARE(empty.window->centralWidget()->geometry().top(), height);
}

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
