// Rectangles of signed 32-bit pixel coordinates, as the drawing calls take them.
#pragma once

#include <cstdint>

namespace lf {

// Drawing calls treat Right and Bottom as exclusive; the selection alone keeps them inclusive.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return TRect{left, top, right, bottom};
}

}  // namespace lf
