#include "ArrayDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <cmath>

namespace modulino {

ArrayDialog::ArrayDialog(const ArrayRequest& initial, const Notices& texts,
                         std::function<bool(const ArrayRequest&)> clamped, QWidget* parent)
    : QDialog(parent)
    , clamped(std::move(clamped)) {
    setObjectName(QStringLiteral("ArrayDialog"));
    setWindowTitle(texts.ArrayTitle);
    auto* form = new QFormLayout(this);

    count = new QSpinBox(this);
    count->setObjectName(QStringLiteral("count"));
    count->setRange(1, 100);
    count->setValue(initial.count);
    form->addRow(texts.ArrayCount, count);

    auto* axes = new QHBoxLayout;
    static constexpr const char* letters[] = {"x", "y", "z"};
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        auto* offset = new QDoubleSpinBox(this);
        offset->setObjectName(QLatin1String(letters[i]));
        offset->setLocale(QLocale::c()); // '.' as everywhere in the program
        offset->setDecimals(1);
        offset->setSingleStep(0.1);
        offset->setRange(-20.0, 20.0);
        offset->setValue(initial.offset[i] / 10.0);
        axes->addWidget(new QLabel(QLatin1String(letters[i]), this));
        axes->addWidget(offset);
        offsets[i] = offset;
        connect(offset, &QDoubleSpinBox::valueChanged, this, &ArrayDialog::showClamped);
    }
    form->addRow(texts.ArrayOffset, axes);
    connect(count, &QSpinBox::valueChanged, this, &ArrayDialog::showClamped);

    clampedNote = new QLabel(texts.ArrayClamped, this);
    clampedNote->setObjectName(QStringLiteral("clamped"));
    clampedNote->setWordWrap(true);
    form->addRow(clampedNote);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    showClamped();
}

ArrayRequest ArrayDialog::request() const {
    ArrayRequest r;
    r.count = count->value();
    for (std::size_t i = 0; i < offsets.size(); ++i)
        r.offset[i] = int(std::lround(offsets[i]->value() * 10));
    return r;
}

void ArrayDialog::showClamped() {
    clampedNote->setVisible(clamped && clamped(request()));
}

} // namespace modulino
