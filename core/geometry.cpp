#include "geometry.h"

#include <numbers>
#include <utility>

TSectionGeometry SectionGeometry(TSectionType sectionType, double d, double c)
{
    TSectionGeometry geometry;
    if (IsRectangular(sectionType)) {
        if (c >= d) {
            std::swap(d, c);
            geometry.sidesExchanged = true;
        }
        const long double a = d;
        const long double b = c;
        geometry.u = static_cast<double>(2 * (a + b) / 1000);
        geometry.Ap = static_cast<double>(a * b / 1e6L);
    } else {
        if (sectionType == TSectionType::Circle)
            c = 0;
        constexpr long double pi = std::numbers::pi_v<long double>;
        const long double dl = d;
        const long double cl = c;
        geometry.u = static_cast<double>((pi * dl + 2 * cl) / 1000);
        geometry.Ap = static_cast<double>((pi * dl * dl / 4 + dl * cl) / 1e6L);
    }
    geometry.d = d;
    geometry.c = c;
    return geometry;
}

double InterpolateLinear(double x0, double y0, double x1, double y1, double x)
{
    const long double y0l = y0;
    return static_cast<double>(y0l
                               + (static_cast<long double>(y1) - y0l)
                                   / (x1 - static_cast<long double>(x0))
                                   * (x - static_cast<long double>(x0)));
}
