#pragma once

#include <QString>

namespace modulino::view {

// The folder holding x_ite.js: beside the program (build tree) or under its install prefix.
// Empty when neither has it.
QString findXite();

// What the window says when X_ITE is missing.
QString missingXiteMessage();

} // namespace modulino::view
