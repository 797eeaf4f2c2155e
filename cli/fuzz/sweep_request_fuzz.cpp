// libFuzzer target: the sweep file reader on any text, then the reading of the options table it
// gives.

#include "pile_json.h"
#include "sweep_request.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    try {
        const TSweepRequest request = SweepRequestFromJson(ParseJsonText(text, "input"));
        ReadOptions(request.table);
    } catch (const TUsageError &) {
        // Refused with a message: what the tool reports with exit code 2.
    }
    return 0;
}
