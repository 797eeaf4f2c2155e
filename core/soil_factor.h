#pragma once

// ζs of the overburden soil from the frk (MPa) of the last rock layer, the one at the pile tip.
double SoilFactor(double tipFrk);
