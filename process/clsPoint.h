#pragma once
#include <cstdint>

/// A point of the WPX drawing area.
struct clsPoint {
    std::int32_t XPos = 0;
    std::int32_t YPos = 0;
};
