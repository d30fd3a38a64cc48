#pragma once

#include <QByteArrayView>
#include <QString>

namespace modulino {

struct EditorState;

// Replaces the text tables and captions from a language file of 72 lines in a fixed order, and
// the captions of lines 73 to 76 where the file has them.
// Returns the general error report text when the file cannot be read, else an empty string.
QString Translate(EditorState& state, const QString& fileName);
// The same from the file's bytes.
void TranslateText(EditorState& state, QByteArrayView bytes);

} // namespace modulino
