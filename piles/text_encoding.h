#pragma once

#include <string>
#include <string_view>

// The text of a pile file as UTF-8: UTF-8 with or without a byte-order mark (the mark is dropped)
// or, when the bytes are not UTF-8, GBK. Throws TPileFileError for bytes that are neither.
std::string TextAsUtf8(std::string_view bytes);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);

inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
