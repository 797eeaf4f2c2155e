#include "text_columns.h"

namespace {

std::string Repeat(std::string_view filler, int count)
{
    std::string text;
    if (count <= 0)
        return text;
    text.reserve(filler.size() * count);
    for (int i = 0; i < count; ++i)
        text += filler;
    return text;
}

} // namespace

int DisplayWidth(std::string_view text)
{
    int width = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t codePoint = lead;
        if (lead >= 0xF0) {
            length = 4;
            codePoint = lead & 0x07;
        } else if (lead >= 0xE0) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if (lead >= 0xC0) {
            length = 2;
            codePoint = lead & 0x1F;
        }
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += length;
        width += (codePoint >= 0x1000 && codePoint <= 0x9FA5) || codePoint > 0xFFFF ? 2 : 1;
    }
    return width;
}

std::string PadRight(std::string_view text, std::string_view filler, int width)
{
    return std::string(text) + Repeat(filler, width - DisplayWidth(text));
}

std::string PadLeft(std::string_view text, std::string_view filler, int width)
{
    return Repeat(filler, width - DisplayWidth(text)) + std::string(text);
}

std::string PadCenter(std::string_view text, std::string_view filler, int width)
{
    const int missing = width - DisplayWidth(text);
    if (missing <= 0)
        return std::string(text);
    const int right = missing / 2;
    return Repeat(filler, missing - right) + std::string(text) + Repeat(filler, right);
}

std::string Spaces(int count)
{
    return Repeat(" ", count);
}
