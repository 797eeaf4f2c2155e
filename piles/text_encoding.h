#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of a pile file as UTF-8: UTF-8 with or without a byte-order mark (the mark is dropped)
// or, when the bytes are not UTF-8, GBK. Throws TPileFileError for bytes that are neither.
std::string TextAsUtf8(std::string_view bytes);

// The same without a copy where the bytes are UTF-8 already: a view of the bytes or of
// `converted`, which holds the text when it had to be converted.
std::string_view Utf8TextOf(std::string_view bytes, std::string &converted);

// UTF-16 behind its byte-order mark (little or big endian, what Excel writes as "Unicode text") as
// UTF-8; nothing when the bytes do not begin with such a mark. Throws TPileFileError for a broken
// surrogate pair or an odd number of bytes.
std::optional<std::string> Utf16AsUtf8(std::string_view bytes);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);

inline constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
