#pragma once

#include <QByteArray>
#include <cstdint>

namespace modulino::bench {

// A scene file as the editor writes it, with `pieces` random pieces: random shapes, sizes and
// positions with one decimal, colours with two decimals and flags. The same seed gives the same
// file.
QByteArray generateScene(int pieces, std::uint32_t seed = 1);

} // namespace modulino::bench
