#pragma once

#include "scene/Controls.h"

#include <QWidget>

class QToolButton;

namespace modulino {

// An up-down arrow pair without a text field: each press of an arrow, each auto-repeat step
// while it is held, and each Up or Down key while it has the focus is one step. Both arrows
// show the focus while the pair has it.
class UpDownArrows : public QWidget {
    Q_OBJECT
public:
    static constexpr int Size = 25;

    explicit UpDownArrows(QWidget* parent = nullptr);

    QToolButton* upArrow() const { return up; }
    QToolButton* downArrow() const { return down; }

    // The pair's name for screen readers, and "NAME up", "NAME down" for its arrows.
    void setAccessibleNames(const QString& name);
    // The position the core holds; the pair shows it only to screen readers.
    const UpDown& value() const { return held; }
    void setValue(const UpDown& value);

signals:
    // +1 for the upper arrow, -1 for the lower one.
    void stepped(int direction);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QToolButton* up;
    QToolButton* down;
    UpDown held;
};

} // namespace modulino
