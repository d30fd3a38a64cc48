#pragma once

#include "base/UserDialogs.h"

#include <QDialog>
#include <array>
#include <functional>

class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace modulino {

// "Pole…": the number of copies and the offset of each further copy along x, y and z, in tenths;
// a line under them says when a copy would stop at the edge of the range.
class ArrayDialog : public QDialog {
    Q_OBJECT
public:
    ArrayDialog(const ArrayRequest& initial, const Notices& texts,
                std::function<bool(const ArrayRequest&)> clamped, QWidget* parent = nullptr);

    ArrayRequest request() const;

private:
    void showClamped();

    QSpinBox* count = nullptr;
    std::array<QDoubleSpinBox*, 3> offsets{};
    QLabel* clampedNote = nullptr;
    std::function<bool(const ArrayRequest&)> clamped;
};

} // namespace modulino
