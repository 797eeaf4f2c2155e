#pragma once

#include "pile_input.h"
#include "pile_json.h"

#include <cstddef>
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

// The piles of a pile file's bytes; JSON takes the bytes as UTF-8 (a byte-order mark is passed
// over). A table's messages begin with `source`. Throws TPileFileError.
std::vector<TPileInput> PilesFromFileText(std::string_view bytes, TPileFileFormat format,
                                          const std::string &source);

// The piles of the file at `path` (UTF-8), in the format its name gives.
std::vector<TPileInput> ReadPileFile(const std::string &path);

// The bytes of a pile file holding the piles.
std::string PileFileBytes(const std::vector<TPileInput> &piles, TPileFileFormat format);

// The same with the project of a JSON file; a CSV table has no project.
TPileDocument PileDocumentFromFileText(std::string_view bytes, TPileFileFormat format,
                                       const std::string &source);
TPileDocument ReadPileDocument(const std::string &path);

// The bytes of a pile file holding the piles and, in JSON, a project that is not empty (a table
// leaves the project out).
std::string PileDocumentBytes(const TPileDocument &document, TPileFileFormat format);
