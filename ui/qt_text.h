#pragma once

#include <QString>

#include <string>
#include <string_view>

// The layers below hold UTF-8 text; the widgets hold QString.
inline QString ToQ(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string ToStd(const QString &text)
{
    return text.toStdString();
}
