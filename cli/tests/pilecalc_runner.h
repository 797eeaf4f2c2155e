#pragma once

// Running the pilecalc executable from a test. Temporary files carry the running test's name and
// the process number, so tests that run side by side (or two checkouts' suites) never share one.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#ifdef _WIN32
#include <process.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

struct TRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The exit code of a program from pclose: the status as it is on Windows, decoded elsewhere.
inline int ExitCodeOf(int status)
{
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

inline std::string TestTempPath(const std::string &name)
{
    const auto *test = testing::UnitTest::GetInstance()->current_test_info();
    return testing::TempDir() + test->test_suite_name() + "_" + test->name() + "_"
        + std::to_string(getpid()) + "_" + name;
}

inline std::string ReadFile(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline std::string WriteTemp(const std::string &name, const std::string &content)
{
    const std::string path = TestTempPath(name);
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

// Runs pilecalc with the arguments (a shell fragment): its standard output, standard error and exit
// code.
inline TRun RunPilecalc(const std::string &arguments)
{
    const std::string errFile = TestTempPath("stderr.txt");
    const std::string command = std::string(PILECALC_EXE) + " " + arguments + " 2>" + errFile;
    TRun run;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer {};
    std::size_t read = 0;
    while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), read);
    const int status = pclose(pipe);
    run.exitCode = ExitCodeOf(status);
    run.err = ReadFile(errFile);
    return run;
}
