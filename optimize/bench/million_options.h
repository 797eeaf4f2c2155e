#pragma once

#include "opt_options.h"

// An options table of 1,000,000 candidates: circles of 1000 diameters, 10 socket depths, 5
// strengths, 2 weatherings and 10 integrity values (5 grades, 5 indexes). `diameters` scales it.
inline TOptionTable MillionOptions(int diameters = 1000)
{
    TOptionTable options = DefaultOptionTable();
    const auto set = [&options](int row, std::string minimum, std::string maximum,
                                std::string step) {
        options[row].minimum = std::move(minimum);
        options[row].maximum = std::move(maximum);
        options[row].step = std::move(step);
    };
    set(0, "1", "1", "1");
    set(1, "1000", std::to_string(999 + diameters), "1");
    set(6, "1.0d", "5.5d", "0.5d");
    set(7, "20", "40", "5");
    set(8, "1", "2", "1");
    set(9, "1", "2", "1");
    set(10, "1", "5", "1");
    set(11, "0.2", "1.0", "0.2");
    return options;
}
