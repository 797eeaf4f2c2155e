// libFuzzer target: the pile file reader on any text, then the calculation and the JSON results
// of what it accepts.

#include "calculation.h"
#include "pile_json.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    try {
        const std::vector<TPileInput> piles = PilesFromText(text, "input");
        int pileCount = 0;
        for (std::size_t i = 0; i < piles.size() && i < 16; ++i) {
            const TCalcOutcome outcome = Calculate(piles[i]);
            pileCount += outcome.ok();
            OutcomeToJson(piles[i], outcome, pileCount).dump(2);
        }
    } catch (const TUsageError &) {
        // Refused with a message: what the tool reports with exit code 2.
    }
    return 0;
}
