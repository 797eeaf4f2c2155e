#pragma once

// Text conversions of the Windows API; UTF-8 is the program's own encoding. Windows only.

#include <string>
#include <string_view>

// UTF-8 to UTF-16 and back; an invalid sequence becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// The code page the saved files are written in: the system's ANSI code page where it holds every
// simplified-Chinese character (GBK 936, GB18030 54936, UTF-8 65001), else GBK. On an English
// Windows (1252) the reports would otherwise lose every Chinese character, and a GBK file is the
// file a simplified-Chinese Windows writes.
unsigned FileCodePage(unsigned ansiCodePage);

// UTF-8 in the files' code page, FileCodePage(GetACP()). A character the code page lacks becomes
// one "?", never a look-alike (the yen sign is not written as a backslash): the bytes of the GBK
// conversion on other platforms.
std::string Utf8ToFileCodePage(std::string_view utf8);

// The system's message for a Windows error code, in UTF-8, without the closing line break.
std::string WindowsErrorText(unsigned long error);
