#pragma once

#include "pile_input.h"

struct TSectionGeometry
{
    double d = 0; // mm, long side first for a rectangle
    double c = 0; // mm
    bool sidesExchanged = false; // c ≥ d on a rectangle: the sides were exchanged
    double Ap = 0; // m²
    double u = 0; // m
};

// Area and perimeter of the cross-section. A rectangle (or square) is normalised so that its long
// side comes first; a circle has no straight part, so its c is taken as 0.
TSectionGeometry SectionGeometry(TSectionType sectionType, double d, double c);

// The value at x on the straight line through (x0, y0) and (x1, y1), without clamping.
double InterpolateLinear(double x0, double y0, double x1, double y1, double x);
