#include "soil_factor.h"

#include "geometry.h"

double SoilFactor(double tipFrk)
{
    if (tipFrk < 15)
        return InterpolateLinear(2, 1.0, 15, 0.8, tipFrk);
    if (tipFrk < 30)
        return InterpolateLinear(15, 0.8, 30, 0.5, tipFrk);
    if (tipFrk < 60)
        return InterpolateLinear(30, 0.5, 60, 0.2, tipFrk);
    return 0.2;
}
