#pragma once

#include <string>
#include <vector>

enum class TStatusKind { None, Hint, Note }; // no colour, magenta, black

struct TRockLayerResult
{
    std::string hardnessClass; // "极软岩" … "坚硬岩"
    double c1Interpolated = 0; // automatic coefficients after all reductions; 0 when specified
    double c2Interpolated = 0;
    double c1 = 0; // coefficients used
    double c2 = 0;
    double qpa = 0; // kPa
    double qra = 0; // kPa
    double Rria = 0; // kN
    double sumRria = 0; // kN, this layer and all above it
    double share = 0; // % of Ra
    std::string remark; // hardness class, "," and the integrity text; empty when specified
};

struct TSoilLayerResult
{
    double zetaS = 0;
    double Rsik = 0; // kN
    double sumRsik = 0; // kN, this layer and all above it
    double share = 0; // % of Ra
};

struct TPileResult
{
    double d = 0; // mm, as used (long side first for a rectangle)
    double c = 0; // mm
    bool sidesExchanged = false; // a rectangle's sides were exchanged and are shown anew
    double Ap = 0; // m²
    double u = 0; // m
    double h = 0; // m, total socket depth
    double ls = 0; // m, total overburden thickness
    double zetaS = 0;
    std::vector<TRockLayerResult> rockResults;
    std::vector<TSoilLayerResult> soilResults;
    double socketSide = 0; // kN
    double socketTip = 0; // kN
    double socketTotal = 0; // kN
    double soilSide = 0; // kN
    double Ra = 0; // kN
    double tipShare = 0; // %
    int specifiedAdopted = 0;
    bool compliant = true;
    std::string statusText;
    TStatusKind statusKind = TStatusKind::None;
};
