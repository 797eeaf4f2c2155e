#pragma once

#include "pile_json.h"

#include <optional>
#include <string>

// A FILE or --out given as an empty text names no file: a usage error, never the default.
inline void RefuseEmptyPath(const std::optional<std::string> &path, const std::string &name)
{
    if (path && path->empty())
        throw TUsageError(name + " must not be empty");
}
