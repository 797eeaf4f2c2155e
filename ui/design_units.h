#pragma once

#include <algorithm>
#include <cmath>

// A length in design units at `scale`, rounded to whole pixels.
inline int Scaled(int units, double scale)
{
    return static_cast<int>(std::lround(units * scale));
}

// A width or height in design units at `scale`: at least one pixel.
inline int ScaledExtent(int units, double scale)
{
    return std::max(1, Scaled(units, scale));
}
