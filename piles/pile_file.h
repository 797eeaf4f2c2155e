#pragma once

#include "pile_csv.h"
#include "pile_input.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Pile files as both programs read and write them: JSON, or a CSV table when the name ends in
// ".csv" (in any case).
enum class TPileFileFormat { Json, Csv };

TPileFileFormat PileFileFormatOf(std::string_view path);

// The largest input read; a larger one is refused before it fills the memory.
inline constexpr std::size_t MaxInputBytes = std::size_t {256} << 20;

// The name of an input in messages: the path (UTF-8), "standard input" for "-".
std::string InputName(const std::string &path);

// The bytes of a file, "-" for standard input. A file that cannot be opened or read, or one
// larger than MaxInputBytes, is refused with the system's reason (TPileFileError).
std::string ReadInputText(const std::string &path);

// Gives the piles of a pile file's bytes to `take` one by one as they are read, so that a long
// file never stands in memory as piles; gives their number. JSON takes the bytes as UTF-8 (a
// byte-order mark is passed over). A table's messages begin with `source`. Throws TPileFileError,
// also for a file that holds no pile.
std::size_t ForEachPile(std::string_view bytes, TPileFileFormat format, const std::string &source,
                        const TPileSink &take);

// All piles of a pile file's bytes at once.
std::vector<TPileInput> PilesFromFileText(std::string_view bytes, TPileFileFormat format,
                                          const std::string &source);

// The piles of the file at `path` (UTF-8), in the format its name gives.
std::vector<TPileInput> ReadPileFile(const std::string &path);

// Writes a pile file a pile at a time: its text goes to `put` piece by piece.
class TPileFileWriter
{
public:
    TPileFileWriter(TPileFileFormat format, std::function<void(std::string_view)> put);

    void Add(const TPileInput &input);
    // The end of the file (and the table's header when no pile was added).
    void Finish();

private:
    TPileFileFormat m_format;
    std::function<void(std::string_view)> m_put;
    std::size_t m_count = 0;
};

// The bytes of a pile file holding the piles.
std::string PileFileBytes(const std::vector<TPileInput> &piles, TPileFileFormat format);
