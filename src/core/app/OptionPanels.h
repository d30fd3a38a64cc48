#pragma once

namespace modulino {

struct EditorState;

// The help panel and the coordinate-system options: reference corner, library variant, axes.
class OptionPanels {
public:
    explicit OptionPanels(EditorState& state);

    void Npovda1Click();
    void BitBtn1Click();

    void volbyClick();
    void bezvolebClick();
    void Image1Click();
    void Image2Click();
    void lbBodClick();
    void Image3Click();
    // A click on a convention picture or one of its letters; tag 0 xyz, 1 xzy, 2 yzx.
    void ImXYZClick(int tag);
    // The pointer moved over a convention picture.
    void ImYZXMouseMove(int tag);

private:
    void chooseConvention(int tag);

    EditorState& s;
};

} // namespace modulino
