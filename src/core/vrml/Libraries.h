#pragma once

#include <QByteArrayList>
#include <QString>

namespace modulino {

// The built-in prototype libraries, line by line, without line ends.
QByteArrayList frontCornerLibrary(); // 263 lines
QByteArrayList backCornerLibrary();  // 312 lines
// The spare copy of the front-corner library: the same lines and one empty line more.
QByteArrayList spareFrontCornerLibrary();

// A composed file takes each library line with at most this many characters.
constexpr int LibraryLineLimit = 4096;

} // namespace modulino
