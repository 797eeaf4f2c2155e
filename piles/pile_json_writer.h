#pragma once

#include "pile_input.h"
#include "pile_json.h"

#include <string>
#include <vector>

// The piles as a pile file: an array of pile objects, pretty-printed UTF-8, "\n" line ends.
std::string PilesToJsonText(const std::vector<TPileInput> &piles);

// The same text a pile at a time: the text of a pile as it follows `count` piles before it, and the
// end of the file after `count` piles.
std::string PileJsonPart(const TPileInput &input, std::size_t count);
std::string PileJsonEnd(std::size_t count);
