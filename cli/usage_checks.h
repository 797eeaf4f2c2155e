#pragma once

#include <optional>
#include <stdexcept>
#include <string>

// Input that cannot be used: an argument, a key, a value or a document the batch tool does not
// accept. A pile file the pile formats refuse throws TPileFileError, which ends the same way.
class TUsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A FILE or --out given as an empty text names no file: a usage error, never the default.
inline void RefuseEmptyPath(const std::optional<std::string> &path, const std::string &name)
{
    if (path && path->empty())
        throw TUsageError(name + " must not be empty");
}
