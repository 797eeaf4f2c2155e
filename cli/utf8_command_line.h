#pragma once

#include <string>
#include <vector>

// The command line in UTF-8, the encoding of every text of the tool. On Windows the narrow
// arguments of main are in the ANSI code page, which cannot hold every file name: they are read
// from the wide command line instead, and a console shows the UTF-8 output as such.
class TUtf8CommandLine
{
public:
    TUtf8CommandLine(int argc, char **argv);

    int Count() const { return static_cast<int>(m_arguments.size()); }
    const char *const *Values() const { return m_values.data(); }

private:
    std::vector<std::string> m_arguments;
    std::vector<const char *> m_values;
};
