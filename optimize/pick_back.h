#pragma once

#include "candidate.h"
#include "pile_input.h"

#include <optional>
#include <string>

// What the input page receives from a double-clicked candidate; the page applies it without
// calculating. The section is set before d and c, so its change behaviour runs first.
struct TPickBack
{
    int sectionItem = 0; // of the section combo: 0 "圆桩", 1 "椭圆桩", 2 "矩形桩" (a square too)
    std::string d; // cbe_dd
    std::string c; // cbe_tyzd
    int rockLayerCount = 1;
    TCoefMode coefMode = TCoefMode::Interpolated;
    TInterpBasis basis = TInterpBasis::IntegrityGrade;
    // First rock row; the specified c1 and c2 keep their values.
    std::string hi;
    std::string weathering;
    std::optional<std::string> integrityGrade; // basis 1
    std::optional<std::string> integrityIndex; // basis 2
    std::string frk;
    // No soil layers when the candidate was calculated without overburden; otherwise as many as
    // the soil grid holds.
    bool noSoilLayers = false;
};

TPickBack PickBack(const TOptCandidate &row, const TCandidateContext &context);

// The input page after the pick-back: `page` is the page as it stands, with every row its soil
// grid holds (shown or not); the candidate replaces the section, the sizes, the coefficient mode,
// the basis and the first rock row's cells it carries, keeps one rock layer and, without
// overburden, no soil layer.
TPileInput PickedInput(const TPickBack &pick, TPileInput page);
