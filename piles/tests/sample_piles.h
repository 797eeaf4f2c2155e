#pragma once

#include "pile_input.h"

#include <string>
#include <vector>

// Piles that use every section, coefficient mode, basis and precision, 0 to 9 soil layers, 1 to 9
// rock layers, design loads, and texts a CSV writer must quote.
inline std::vector<TPileInput> SamplePiles()
{
    const int soilCounts[] = {0, 9, 1, 3, 9};
    const int rockCounts[] = {9, 1, 9, 2, 3};
    std::vector<TPileInput> piles;
    for (int i = 0; i < 5; ++i) {
        TPileInput pile;
        pile.sectionType = static_cast<TSectionType>(i % 3);
        pile.d = std::to_string(1000 + 100 * i);
        pile.c = i == 1 ? "500" : (i == 2 ? "1500.0" : "0");
        pile.coefMode = static_cast<TCoefMode>(i % 4);
        pile.interpBasis = static_cast<TInterpBasis>(i % 2);
        pile.boredPile = i % 2 == 0;
        pile.rounding = static_cast<TRoundingMode>(i);
        pile.soilLayers.clear();
        for (int j = 0; j < soilCounts[i]; ++j)
            pile.soilLayers.push_back({std::to_string(j + 1) + ".50", std::to_string(20 * j)});
        pile.rockLayers.clear();
        for (int j = 0; j < rockCounts[i]; ++j) {
            pile.rockLayers.push_back({"0." + std::to_string(j + 1), j % 2 ? "微风化" : "中风化",
                                       j % 2 ? "较破碎" : "完整", "0.7" + std::to_string(j),
                                       std::to_string(10 + j) + ".5", "0.45", "0.035"});
        }
        piles.push_back(pile);
    }
    // Texts as an engineer may leave them: a blank before a number, a decimal comma, a quote, a
    // line break, an empty layer between two filled ones, an empty cell.
    piles[1].d = " 1100";
    piles[1].soilLayers[2] = {"", ""};
    piles[1].soilLayers[4].qik = "1,5";
    piles[2].rockLayers[3].frk = "12\"5";
    piles[2].rockLayers[4].weathering = "中\n风化";
    piles[3].rockLayers[1].c1Specified = "";
    // Design loads: none, typed with blanks, with their factor, and a factor left empty.
    piles[0].load = "8000";
    piles[2].load = " 1.2e4 ";
    piles[2].gammaR = "1.25";
    piles[4].load = "9000,5";
    piles[4].gammaR = "";
    return piles;
}
