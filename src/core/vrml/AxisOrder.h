#pragma once

#include <utility>

namespace modulino {

// Rearranges a triple from one axis convention to another (0 xyz, 1 xzy, 2 yzx). Equal selectors
// and selectors above 2 leave the triple alone. (To, From) always undoes (From, To).
template <typename T> void SwapAxesOf(T& a, T& b, T& c, unsigned fromOrder, unsigned toOrder) {
    if (fromOrder == toOrder || fromOrder > 2 || toOrder > 2)
        return;
    T x = std::move(a), y = std::move(b), z = std::move(c);
    // Undo `fromOrder` to get the triple in xyz order...
    if (fromOrder == 1)
        std::swap(y, z);
    else if (fromOrder == 2) { // (y, z, x) -> (x, y, z)
        T t = std::move(z);
        z = std::move(y);
        y = std::move(x);
        x = std::move(t);
    }
    // ...then apply `toOrder`.
    if (toOrder == 0) {
        a = std::move(x), b = std::move(y), c = std::move(z);
    } else if (toOrder == 1) {
        a = std::move(x), b = std::move(z), c = std::move(y);
    } else {
        a = std::move(y), b = std::move(z), c = std::move(x);
    }
}

inline void SwapAxes(unsigned& a, unsigned& b, unsigned& c, unsigned fromOrder, unsigned toOrder) {
    SwapAxesOf(a, b, c, fromOrder, toOrder);
}

template <typename Text>
void SwapAxesText(Text& a, Text& b, Text& c, unsigned fromOrder, unsigned toOrder) {
    SwapAxesOf(a, b, c, fromOrder, toOrder);
}

} // namespace modulino
