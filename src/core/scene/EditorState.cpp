#include "scene/EditorState.h"

namespace modulino {

EditorState::EditorState() {
    SGDilky.setRecorder(&history);
    for (auto id : {UpDownId::UDrx, UpDownId::UDry, UpDownId::UDrz})
        upDown(id) = UpDown{1, 100, 1};
    for (auto id : {UpDownId::UDx, UpDownId::UDy, UpDownId::UDz})
        upDown(id) = UpDown{-200, 200, 0};
    Tvar.items = builtInShapeItems();
    Tvar.text = Tvar.items.first();
    jmeno = texts.MessageTexts[3];
}

AxisLetters axisLetters(int axisOrder) {
    switch (axisOrder) {
    case 1:
        return {QStringLiteral("z"), QStringLiteral("x"), QStringLiteral("y")};
    case 2:
        return {QStringLiteral("z"), QStringLiteral("y"), QStringLiteral("x")};
    default:
        return {QStringLiteral("y"), QStringLiteral("x"), QStringLiteral("z")};
    }
}

} // namespace modulino
