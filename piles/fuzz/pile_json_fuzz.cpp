// libFuzzer target: the JSON pile reader on any text; what it accepts is written as JSON and as a
// CSV table, and both read back to the same piles.

#include "pile_csv.h"
#include "pile_file_error.h"
#include "pile_json.h"
#include "pile_json_writer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::vector<TPileInput> piles;
    try {
        piles = PilesFromText(text, "input");
    } catch (const TPileFileError &) {
        return 0; // refused with a message: what the tool reports with exit code 2
    }
    if (piles.size() > 16)
        piles.resize(16);
    const std::string json = PilesToJsonText(piles);
    if (PilesToJsonText(PilesFromText(json, "written")) != json)
        std::abort();
    // A trailing layer of empty cells does not count in a table, so only the JSON text of piles
    // without one comes back identical; every text read must stay readable.
    PilesFromCsv(PilesToCsv(piles));
    return 0;
}
