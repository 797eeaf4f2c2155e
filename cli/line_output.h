#pragma once

#include "text_file.h"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Standard output that could not be written: the command stops, nothing it printed can be trusted.
class TOutputError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The lines of a command's output: to standard output (UTF-8, "\n"), or with a file name to that
// file as every saved file (system code page, CR LF, the previous file replaced only when all was
// written). The file is opened at the first line: a run that prints no line leaves it untouched.
class TLineOutput
{
public:
    explicit TLineOutput(const std::optional<std::string> &path);

    // Throws TOutputError when standard output fails.
    void Line(std::string_view text);

    // Puts the file in place and gives the system's message when it could not be written; flushes
    // standard output and throws TOutputError when that fails.
    std::optional<std::string> Finish();

    // Whether the output goes to a file and no line was given yet.
    bool NothingSaved() const { return m_path && !m_file; }

private:
    std::optional<std::string> m_path;
    std::unique_ptr<TTextFileWriter> m_file;
};

// Says on standard error that a run saved nothing to `path`, and why: the file stays as it was.
void ReportNothingSaved(const std::string &path, const std::string &reason);

// Flushes standard output; gives the system's message when anything written to it was lost.
std::optional<std::string> FlushStandardOutput();
