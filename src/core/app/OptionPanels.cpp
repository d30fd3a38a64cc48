#include "app/OptionPanels.h"

#include "scene/EditorState.h"

namespace modulino {

OptionPanels::OptionPanels(EditorState& state)
    : s(state) {}

void OptionPanels::Npovda1Click() {
    s.PHelpVisible = true;
}

void OptionPanels::BitBtn1Click() {
    s.PHelpVisible = false;
}

void OptionPanels::volbyClick() {
    s.volbyVisible = false;
}

void OptionPanels::bezvolebClick() {
    s.volbyVisible = true;
}

void OptionPanels::Image1Click() {
    const History::Step step(s.history);
    s.BackCornerMode = true;
    s.prototyp = s.zalohan;
    s.SceneSaved = false;
}

void OptionPanels::Image2Click() {
    const History::Step step(s.history);
    s.BackCornerMode = false;
    s.prototyp = s.zaloha;
    s.SceneSaved = false;
}

void OptionPanels::lbBodClick() {
    const History::Step step(s.history);
    s.SceneSaved = false;
    s.lbBodVisible = false;
    s.prototyp = s.BackCornerMode ? s.zalohan : s.zaloha;
}

void OptionPanels::Image3Click() {
    if (s.polohaVisible)
        return;
    s.polohaVisible = true;
    s.Image3HintOn = false;
}

void OptionPanels::ImXYZClick(int tag) {
    const History::Step step(s.history, MergeKey::axisConvention());
    chooseConvention(tag);
    s.polohaVisible = false;
    s.Image3HintOn = true;
    s.SceneSaved = false;
}

void OptionPanels::ImYZXMouseMove(int tag) {
    const History::Step step(s.history, MergeKey::axisConvention());
    chooseConvention(tag);
}

// The frame shown and the letters on the tripod follow AxisOrder.
void OptionPanels::chooseConvention(int tag) {
    if (tag >= 0 && tag <= 2)
        s.AxisOrder = tag;
}

} // namespace modulino
