#include "gbk_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

#ifdef _WIN32

std::optional<std::string> GbkToUtf8(std::string_view gbk)
{
    if (gbk.empty())
        return std::string();
    const int size = static_cast<int>(gbk.size());
    const int wideLength =
        MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(), size, nullptr, 0);
    if (wideLength == 0)
        return std::nullopt;
    std::wstring wide(wideLength, L'\0');
    MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk.data(), size, wide.data(), wideLength);
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string utf8(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

#else

std::optional<std::string> GbkToUtf8(std::string_view gbk)
{
    iconv_t handle = iconv_open("UTF-8", "CP936");
    if (handle == reinterpret_cast<iconv_t>(-1))
        handle = iconv_open("UTF-8", "GBK");
    if (handle == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string utf8(gbk.size() * 3 / 2 + 16, '\0');
    char *in = const_cast<char *>(gbk.data());
    std::size_t inLeft = gbk.size();
    std::size_t written = 0;
    bool ok = true;
    while (ok) {
        char *out = utf8.data() + written;
        std::size_t outLeft = utf8.size() - written;
        const std::size_t result = iconv(handle, &in, &inLeft, &out, &outLeft);
        written = utf8.size() - outLeft;
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            utf8.resize(utf8.size() * 2);
        else
            ok = false; // a byte sequence GBK does not have, or one cut off at the end
    }
    iconv_close(handle);
    if (!ok)
        return std::nullopt;
    utf8.resize(written);
    return utf8;
}

#endif
