#pragma once

// The program's title: the input page's heading, the window caption and the about box.
inline constexpr const char *ProgramTitle = "嵌岩桩承载力计算";
inline constexpr const char *CaptionSuffix = " (JTG3363-2019)";
