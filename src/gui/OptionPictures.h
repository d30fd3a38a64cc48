#pragma once

#include <QWidget>

namespace modulino {

// A wire-frame cube, 90 x 90, with a red dot on its lower left front or back corner: the corner
// of a piece that its position names.
class CornerCube : public QWidget {
    Q_OBJECT
public:
    enum class Corner { Front, Back };
    explicit CornerCube(Corner corner, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Corner corner;
};

// An axis tripod, 80 x 80: one arm up, one to the right, one down-left toward the viewer. The
// letters at the arms' ends are labels of their own.
class AxisTripod : public QWidget {
    Q_OBJECT
public:
    static constexpr int Size = 80;
    // Where the letters of the up, right and front arms stand, from the tripod's corner.
    static constexpr QPoint UpLetter{32, 0};
    static constexpr QPoint RightLetter{64, 36};
    static constexpr QPoint FrontLetter{1, 52};

    explicit AxisTripod(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The frame around the chosen convention's tripod: white, with a black five-pixel border.
class AxisFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int Size = 85;
    explicit AxisFrame(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace modulino
