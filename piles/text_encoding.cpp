#include "text_encoding.h"

#include "gbk_text.h"
#include "pile_file_error.h"

#include <utility>

bool IsUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        unsigned char low = 0x80; // the bounds of the second byte
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0; // no overlong form
            if (lead == 0xED)
                high = 0x9F; // no surrogate
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            if (lead == 0xF4)
                high = 0x8F; // nothing beyond U+10FFFF
        } else {
            return false;
        }
        if (i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        i += length;
    }
    return true;
}

std::string_view Utf8TextOf(std::string_view bytes, std::string &converted)
{
    if (bytes.starts_with(Utf8ByteOrderMark)) {
        bytes.remove_prefix(Utf8ByteOrderMark.size());
        if (!IsUtf8(bytes)) {
            throw TPileFileError("the text begins as UTF-8 but holds bytes that are not UTF-8",
                                 "文件以 UTF-8 标记开头，却含有不是 UTF-8 的字节");
        }
        return bytes;
    }
    if (IsUtf8(bytes))
        return bytes;
    if (auto utf8 = GbkToUtf8(bytes)) {
        converted = *std::move(utf8);
        return converted;
    }
    throw TPileFileError("the text is neither UTF-8 nor GBK",
                         "文件内容既不是 UTF-8 也不是 GBK 文本");
}

std::string TextAsUtf8(std::string_view bytes)
{
    std::string converted;
    const std::string_view text = Utf8TextOf(bytes, converted);
    return text.data() == converted.data() ? std::move(converted) : std::string(text);
}

std::optional<std::string> Utf16AsUtf8(std::string_view bytes)
{
    bool little = false;
    if (bytes.starts_with("\xFF\xFE"))
        little = true;
    else if (!bytes.starts_with("\xFE\xFF"))
        return std::nullopt;
    bytes.remove_prefix(2);
    const auto broken = [] {
        return TPileFileError("the text begins as UTF-16 but is not UTF-16",
                              "文件以 UTF-16 标记开头，内容却不是 UTF-16 文本");
    };
    if (bytes.size() % 2 != 0)
        throw broken();
    const auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return little ? static_cast<char32_t>(first | second << 8)
                      : static_cast<char32_t>(first << 8 | second);
    };
    std::string utf8;
    utf8.reserve(bytes.size() / 2 * 3);
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t code = unit(i);
        if (code >= 0xDC00 && code <= 0xDFFF)
            throw broken();
        if (code >= 0xD800 && code <= 0xDBFF) {
            if (i + 2 >= bytes.size())
                throw broken();
            const char32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                throw broken();
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | code >> 6);
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            utf8 += static_cast<char>(0xE0 | code >> 12);
            utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | code >> 18);
            utf8 += static_cast<char>(0x80 | (code >> 12 & 0x3F));
            utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return utf8;
}
