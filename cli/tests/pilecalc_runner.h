#pragma once

// Running the pilecalc executable from a test. Temporary files carry the running test's name and
// the process number, so tests that run side by side (or two checkouts' suites) never share one.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct TRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

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

// Runs a shell command: its standard output, standard error and exit code.
inline TRun RunShell(const std::string &shellCommand)
{
    const std::string errFile = TestTempPath("stderr.txt");
    const std::string command = "(" + shellCommand + ") 2>" + errFile;
    TRun run;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buffer {};
    std::size_t read = 0;
    while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), read);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errFile);
    return run;
}

// Runs pilecalc with the arguments (a shell fragment): its standard output, standard error and exit
// code.
inline TRun RunPilecalc(const std::string &arguments)
{
    return RunShell(std::string(PILECALC_EXE) + " " + arguments);
}
