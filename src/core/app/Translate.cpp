#include "app/Translate.h"

#include "scene/EditorState.h"

namespace modulino {

QString Translate(EditorState&, const QString&) {
    return QString();
}

} // namespace modulino
