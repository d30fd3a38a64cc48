#include "Accessibility.h"

#include "ColourSwatch.h"
#include "QtColours.h"
#include "UpDownArrows.h"

#include <QAccessibleWidget>

namespace modulino {

namespace {

class UpDownAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit UpDownAccessible(UpDownArrows* arrows)
        : QAccessibleWidget(arrows, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return QString::number(units(held().position), 'f', 1);
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return units(held().position); }
    void setCurrentValue(const QVariant&) override {} // only the arrows move it
    QVariant maximumValue() const override { return units(held().max); }
    QVariant minimumValue() const override { return units(held().min); }
    QVariant minimumStepSize() const override { return units(1); }

private:
    static double units(int tenths) { return tenths / 10.0; }
    const UpDown& held() const { return static_cast<UpDownArrows*>(widget())->value(); }
};

class SwatchAccessible : public QAccessibleWidget {
public:
    explicit SwatchAccessible(ColourSwatch* swatch)
        : QAccessibleWidget(swatch, QAccessible::Button) {
        addControllingSignal(QStringLiteral("pressed()"));
    }

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Value)
            return QAccessibleWidget::text(kind);
        const QColor colour = toQColor(static_cast<ColourSwatch*>(widget())->colour());
        return QStringLiteral("red %1, green %2, blue %3")
            .arg(colour.red())
            .arg(colour.green())
            .arg(colour.blue());
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction())
            emit static_cast<ColourSwatch*>(widget())->pressed();
    }
};

QAccessibleInterface* controlAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(UpDownArrows::staticMetaObject.className()))
        return new UpDownAccessible(static_cast<UpDownArrows*>(object));
    if (className == QLatin1String(ColourSwatch::staticMetaObject.className()))
        return new SwatchAccessible(static_cast<ColourSwatch*>(object));
    return nullptr;
}

} // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(controlAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace modulino
