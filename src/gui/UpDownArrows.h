#pragma once

#include <QWidget>

class QToolButton;

namespace modulino {

// An up-down arrow pair without a text field: each press of an arrow, each auto-repeat step
// while it is held, and each Up or Down key while it has the focus is one step.
class UpDownArrows : public QWidget {
    Q_OBJECT
public:
    static constexpr int Size = 25;

    explicit UpDownArrows(QWidget* parent = nullptr);

    QToolButton* upArrow() const { return up; }
    QToolButton* downArrow() const { return down; }

signals:
    // +1 for the upper arrow, -1 for the lower one.
    void stepped(int direction);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolButton* up;
    QToolButton* down;
};

} // namespace modulino
