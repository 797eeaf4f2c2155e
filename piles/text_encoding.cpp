#include "text_encoding.h"

#include "gbk_text.h"
#include "pile_file_error.h"

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

std::string TextAsUtf8(std::string_view bytes)
{
    if (bytes.starts_with(Utf8ByteOrderMark)) {
        bytes.remove_prefix(Utf8ByteOrderMark.size());
        if (!IsUtf8(bytes))
            throw TPileFileError("the text begins as UTF-8 but holds bytes that are not UTF-8");
        return std::string(bytes);
    }
    if (IsUtf8(bytes))
        return std::string(bytes);
    if (auto utf8 = GbkToUtf8(bytes))
        return *std::move(utf8);
    throw TPileFileError("the text is neither UTF-8 nor GBK");
}
