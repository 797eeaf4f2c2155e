#pragma once

#include <optional>
#include <string>
#include <string_view>

// GBK bytes (code page 936, what Excel writes on a simplified-Chinese system) as UTF-8; nothing
// when the bytes are not GBK text.
std::optional<std::string> GbkToUtf8(std::string_view gbk);
