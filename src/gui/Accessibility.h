#pragma once

namespace modulino {

// Gives screen readers what Qt cannot know of the window's own controls: an up-down pair is a
// spin box that reports its position in scene units, a colour swatch a button that reports its
// colour and opens the colour dialog when pressed. Installing it twice is harmless.
void installAccessibility();

} // namespace modulino
