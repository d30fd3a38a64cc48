#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>

namespace modulino {

// An up-down arrow pair: a position that always stays inside its range.
struct UpDown {
    int min = 0;
    int max = 0;
    int position = 0;

    void setPosition(int value) { position = std::clamp(value, min, max); }
    // Whether one press of the arrow in this direction moves the position at all.
    bool canStep(int direction) const { return direction > 0 ? position < max : position > min; }
};

// The six up-downs, in the order of their table columns 2..7.
enum class UpDownId { UDrx, UDry, UDrz, UDx, UDy, UDz };
constexpr int upDownColumn(UpDownId id) {
    return 2 + int(id);
}
constexpr bool isSizeUpDown(UpDownId id) {
    return int(id) < 3;
}

// The drop-down shape list: its items, the selected item (-1 for none) and the shown text.
struct ShapeList {
    QStringList items;
    int selected = -1;
    QString text;

    void select(int index) {
        selected = index;
        if (index >= 0 && index < items.size())
            text = items[index];
    }
    // One wheel notch over the list: the previous or next of the seven shapes, none selected
    // counting as before the first.
    void step(int direction) {
        if (direction < 0 && selected > 0)
            select(selected - 1);
        else if (direction > 0 && selected < 6)
            select(selected + 1);
    }
};

} // namespace modulino
