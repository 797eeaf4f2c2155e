#include "line_output.h"

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

namespace {

std::string OutputFailure(int error)
{
    return "standard output: "
        + (error != 0 ? std::generic_category().message(error) : std::string("write error"));
}

} // namespace

TLineOutput::TLineOutput(const std::optional<std::string> &path)
    : m_path(path)
{ }

void TLineOutput::Line(std::string_view text)
{
    if (m_path) {
        // The path is UTF-8 like every text of the tool; a relative one is taken from here.
        if (!m_file)
            m_file = std::make_unique<TTextFileWriter>(FilePath({}, *m_path));
        m_file->WriteLine(text);
        return;
    }
    errno = 0;
    std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::cout.put('\n');
    if (!std::cout)
        throw TOutputError(OutputFailure(errno));
}

std::optional<std::string> TLineOutput::Finish()
{
    if (m_file)
        return m_file->Commit();
    if (m_path)
        return std::nullopt; // nothing to save, nothing touched
    if (const auto error = FlushStandardOutput())
        throw TOutputError(*error);
    return std::nullopt;
}

std::optional<std::string> FlushStandardOutput()
{
    errno = 0;
    std::cout.flush();
    int error = errno;
    bool failed = !std::cout;
    if (std::fflush(stdout) != 0) {
        failed = true;
        error = errno;
    }
    if (failed || std::ferror(stdout))
        return OutputFailure(error);
    return std::nullopt;
}

void ReportNothingSaved(const std::string &path, const std::string &reason)
{
    std::cerr << "pilecalc: nothing saved, " << path << " is left as it was: " << reason << '\n';
}
