#pragma once

#include <QByteArray>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The PDF tools of poppler, run on a document the test wrote.
namespace PdfTools {

// A file in the test's own temporary folder holding the bytes.
inline std::filesystem::path Save(const QByteArray &bytes, const std::string &name)
{
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder = std::filesystem::temp_directory_path()
        / (std::string("render_tests_") + test->test_suite_name() + "_" + test->name());
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
    return path;
}

// What a command printed on its standard output.
inline std::string Run(const std::string &command)
{
    std::string output;
    if (std::FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

// The text of each page, as `pdftotext -layout` lays it out, one string per line.
inline std::vector<std::vector<std::string>> PageLines(const std::filesystem::path &pdf)
{
    const std::string text = Run("pdftotext -layout '" + pdf.string() + "' -");
    std::vector<std::vector<std::string>> pages(1);
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::size_t feed;
        while ((feed = line.find('\f')) != std::string::npos) {
            pages.back().push_back(line.substr(0, feed));
            pages.emplace_back();
            line.erase(0, feed + 1);
        }
        pages.back().push_back(line);
    }
    while (!pages.empty() && pages.back().size() <= 1 && pages.back().front().empty())
        pages.pop_back();
    return pages;
}

// The words of a line joined by single blanks.
inline std::string Words(const std::string &line)
{
    std::istringstream in(line);
    std::string words;
    for (std::string word; in >> word;)
        words += (words.empty() ? "" : " ") + word;
    return words;
}

} // namespace PdfTools
