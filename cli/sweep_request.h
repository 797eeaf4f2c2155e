#pragma once

#include "opt_options.h"
#include "pile_input.h"

#include <nlohmann/json.hpp>

// What a sweep starts from: the options table and the input page.
struct TSweepRequest
{
    TOptionTable table = DefaultOptionTable();
    TPileInput base;
};

// The request of a sweep file `{ "options": { row: [cells] }, "base": pile }`; rows and keys not
// given keep their defaults. Throws TUsageError on anything else.
TSweepRequest SweepRequestFromJson(const nlohmann::json &document);
