#include "WindowFixture.h"

#include "UpDownArrows.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QToolButton>

using namespace modulino;

namespace {

QAccessibleInterface* accessible(QObject* control) {
    return QAccessible::queryAccessibleInterface(control);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void everyControlHasAName_data();
    void everyControlHasAName();
    void upDownsReportTheirPosition();
    void swatchesReportAndChooseTheirColour();
    void focusedControlShowsTheFocus_data();
    void focusedControlShowsTheFocus();
};

void TestAccessibility::everyControlHasAName_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    const std::pair<const char*, const char*> rows[] = {
        {"UDrx", "rx"},
        {"UDz", "z"},
        {"Shape1", "piece colour"},
        {"Shape2", "background colour"},
        {"Tvar", "shape"},
        {"SGDilky", "pieces"},
        {"BitBtn1", "close help"},
        {"Image2", "back corner"},
        {"Image3", "axis convention"},
        {"ImXZY", "xzy"},
        {"volby", "Volby soustavy souřadnic"},
        {"PHelp", "Nápověda"},
        {"Pridej", "Přidat dílek modulino"},
    };
    for (const auto& [control, name] : rows)
        QTest::newRow(control) << QString::fromUtf8(control) << QString::fromUtf8(name);
}

void TestAccessibility::everyControlHasAName() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    WindowFixture f;
    QObject* widget = f.window->findChild<QWidget*>(control);
    QVERIFY(widget);
    QCOMPARE(accessible(widget)->text(QAccessible::Name), name);
}

void TestAccessibility::upDownsReportTheirPosition() {
    WindowFixture f;
    f.addPiece();
    auto* arrows = f.child<UpDownArrows>("UDrx");
    QCOMPARE(accessible(arrows->upArrow())->text(QAccessible::Name), QStringLiteral("rx up"));
    QCOMPARE(accessible(arrows->downArrow())->text(QAccessible::Name), QStringLiteral("rx down"));
    QTest::mouseClick(arrows->upArrow(), Qt::LeftButton);

    QAccessibleInterface* pair = accessible(arrows);
    QCOMPARE(pair->role(), QAccessible::SpinBox);
    QCOMPARE(pair->text(QAccessible::Value), QStringLiteral("1.1"));
    QAccessibleValueInterface* value = pair->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toDouble(), 1.1);
    QCOMPARE(value->minimumValue().toDouble(), 0.1);
    QCOMPARE(value->maximumValue().toDouble(), 10.0);
    QCOMPARE(accessible(f.child("UDx"))->valueInterface()->minimumValue().toDouble(), -20.0);
}

void TestAccessibility::swatchesReportAndChooseTheirColour() {
    WindowFixture f;
    QAccessibleInterface* background = accessible(f.child("Shape2"));
    QCOMPARE(background->text(QAccessible::Value), QStringLiteral("red 204, green 204, blue 255"));
    f.dialogs.colourAnswers.enqueue(rgb(1, 2, 3));
    QAccessibleActionInterface* actions = background->actionInterface();
    QVERIFY(actions);
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(f.state().Shape2, rgb(1, 2, 3));
    QCOMPARE(background->text(QAccessible::Value), QStringLiteral("red 1, green 2, blue 3"));
    QVERIFY(f.dialogs.allAnswered());
}

void TestAccessibility::focusedControlShowsTheFocus_data() {
    QTest::addColumn<QString>("control");
    for (const char* control : {"UDrx", "UDz", "Tvar", "CBovl", "CBSkryt", "Pridej", "SGDilky"})
        QTest::newRow(control) << QString::fromLatin1(control);
}

void TestAccessibility::focusedControlShowsTheFocus() {
    QFETCH(QString, control);
    WindowFixture f;
    QVERIFY(f.active);
    f.addPiece();
    auto* widget = f.window->findChild<QWidget*>(control);
    QTest::keyClick(f.window.get(), Qt::Key_Tab); // the style shows focus once keys move it
    f.child("Nahled")->setFocus(Qt::TabFocusReason);
    const QImage unfocused = widget->grab().toImage();
    widget->setFocus(Qt::TabFocusReason);
    QVERIFY(widget->hasFocus());
    QVERIFY(widget->grab().toImage() != unfocused);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
