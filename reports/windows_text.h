#pragma once

// Text conversions of the Windows API; UTF-8 is the program's own encoding. Windows only.

#include <string>
#include <string_view>

// UTF-8 to UTF-16 and back; an invalid sequence becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// UTF-8 in the system's ANSI code page. A character the code page lacks becomes one "?", never a
// look-alike (the yen sign is not written as a backslash): the bytes of the GBK conversion on
// other platforms.
std::string Utf8ToAnsiCodePage(std::string_view utf8);

// The system's message for a Windows error code, in UTF-8, without the closing line break.
std::string WindowsErrorText(unsigned long error);
