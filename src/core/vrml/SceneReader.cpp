#include "vrml/SceneReader.h"

#include "scene/EditorState.h"
#include "scene/PieceEditing.h"

namespace modulino {

PieceFields ParsePieceLine(QByteArrayView) {
    return {};
}

bool readScene(EditorState&, PieceEditing&, QByteArrayView) {
    return false;
}

} // namespace modulino
