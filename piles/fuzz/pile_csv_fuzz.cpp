// libFuzzer target: the CSV pile reader on any bytes; what it accepts is written as a table again
// and reads back to the same piles.

#include "pile_csv.h"
#include "pile_file_error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    std::vector<TPileInput> piles;
    try {
        piles = PilesFromCsv(bytes);
    } catch (const TPileFileError &) {
        return 0; // refused with a message naming row and column
    }
    const std::string table = PilesToCsv(piles);
    if (PilesToCsv(PilesFromCsv(table)) != table)
        std::abort();
    return 0;
}
