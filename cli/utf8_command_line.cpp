#include "utf8_command_line.h"

#ifdef _WIN32
#include "windows_text.h"

#include <windows.h>

#include <shellapi.h>
#endif

TUtf8CommandLine::TUtf8CommandLine(int argc, char **argv)
{
#ifdef _WIN32
    int count = 0;
    if (wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            m_arguments.push_back(WideToUtf8(wide[i]));
        LocalFree(wide);
    }
    SetConsoleOutputCP(CP_UTF8);
#endif
    if (m_arguments.empty())
        m_arguments.assign(argv, argv + argc);
    for (const std::string &argument : m_arguments)
        m_values.push_back(argument.c_str());
    m_values.push_back(nullptr);
}
