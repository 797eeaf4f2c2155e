#pragma once

#include <stdexcept>

// A pile file that cannot be used: bytes that are no text, a CSV cell or a JSON key the pile
// formats do not accept. The message names the place (row and column, or the pile and its key).
class TPileFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
