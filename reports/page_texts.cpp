#include "page_texts.h"

#include "pile_items.h"
#include "result_texts.h"

#include <string>
#include <tuple>

TPageTexts PageTextsOf(const TPileInput &input, const TPileResult &result)
{
    TPageTexts texts;
    std::tie(texts.dText, texts.cText) = ShownSizeTexts(input, result);
    texts.soilCountText = std::to_string(input.soilLayers.size());
    texts.rockCountText = std::to_string(input.rockLayers.size());
    texts.coefModeText = PileItems::CoefModes.at(static_cast<std::size_t>(input.coefMode));
    texts.basisText = PileItems::Bases.at(static_cast<std::size_t>(input.interpBasis));
    texts.soilCells.reserve(input.soilLayers.size());
    for (std::size_t j = 0; j < input.soilLayers.size(); ++j) {
        const TSoilLayer &soil = input.soilLayers[j];
        texts.soilCells.push_back({std::to_string(j + 1), soil.li, soil.qik});
    }
    texts.rockCells.reserve(input.rockLayers.size());
    for (std::size_t i = 0; i < input.rockLayers.size(); ++i) {
        const TRockLayer &rock = input.rockLayers[i];
        texts.rockCells.push_back({std::to_string(i + 1), rock.hi, rock.weathering,
                                   rock.integrityGrade, rock.integrityIndex, rock.frk});
    }
    return texts;
}
