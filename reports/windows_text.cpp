#include "windows_text.h"

#include <windows.h>

std::wstring Utf8ToWide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                        length);
    return wide;
}

std::string WideToUtf8(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length,
                        nullptr, nullptr);
    return utf8;
}

unsigned FileCodePage(unsigned ansiCodePage)
{
    constexpr unsigned Gbk = 936;
    constexpr unsigned Gb18030 = 54936;
    return ansiCodePage == Gbk || ansiCodePage == Gb18030 || ansiCodePage == CP_UTF8 ? ansiCodePage
                                                                                     : Gbk;
}

// Without "best fit", and with a character outside the Basic Multilingual Plane first replaced by
// one "?" rather than given one for each half of its surrogate pair.
std::string Utf8ToFileCodePage(std::string_view utf8)
{
    std::wstring wide = Utf8ToWide(utf8);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const bool pair =
            IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]);
        wide[kept++] = pair ? L'?' : wide[i];
        i += pair;
    }
    wide.resize(kept);
    if (wide.empty())
        return {};
    static const UINT codePage = FileCodePage(GetACP());
    // The code pages that hold every character take neither flags nor a default character.
    const bool complete = codePage == CP_UTF8 || codePage == 54936;
    const DWORD flags = complete ? 0 : WC_NO_BEST_FIT_CHARS;
    const char *defaultCharacter = complete ? nullptr : "?";
    const int length =
        WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                            defaultCharacter, nullptr);
    std::string bytes(length, '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                        length, defaultCharacter, nullptr);
    return bytes;
}

std::string WindowsErrorText(unsigned long error)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        return "Windows error " + std::to_string(error);
    return WideToUtf8(text);
}
