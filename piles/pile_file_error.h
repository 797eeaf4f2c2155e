#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A pile file that cannot be used: bytes that are no text, a CSV cell or a JSON key the pile
// formats do not accept, a file the system cannot read. The message names the place (row and
// column, or the pile and its key) twice: in English for the batch tool (what()), whose scripts
// read it, and in Chinese for the desktop program (Chinese()). Neither holds a library's text, and
// texts taken from the file have their control characters escaped.
class TPileFileError : public std::runtime_error
{
public:
    TPileFileError(const std::string &english, std::string chinese);

    const std::string &Chinese() const noexcept { return m_chinese; }

    // The same failure behind a place: "place: …" and "place：…".
    TPileFileError Within(std::string_view englishPlace, std::string_view chinesePlace) const;

private:
    std::string m_chinese;
};

// A pile file that holds no pile: nothing to calculate, convert or open.
class TNoPileError : public TPileFileError
{
public:
    using TPileFileError::TPileFileError;
};

// A text from a file as it stands in a message: control characters (C0, DEL and C1) escaped as
// \x1b or \u009b, so they neither reach the terminal nor cut the message short.
std::string ShownText(std::string_view text);

// The operating system's reason for an errno value: English as the system gives it, and Chinese
// ("系统错误 N" where none is known).
std::string SystemReason(int error);
std::string ChineseSystemReason(int error);
