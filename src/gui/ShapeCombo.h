#pragma once

#include <QComboBox>

namespace modulino {

// The drop-down shape list. It shows a text of its own, also while no item is selected, and
// drops typed characters, with its list open or closed, so its choice changes only by picking an
// item.
class ShapeCombo : public QComboBox {
    Q_OBJECT
public:
    explicit ShapeCombo(QWidget* parent = nullptr);

    void setShownText(const QString& text);
    const QString& shownText() const { return shown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    QString shown;
};

} // namespace modulino
