#pragma once

#include <QString>

#include <filesystem>
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

// A path as the file dialogs and the status lines show it.
inline QString PathToQ(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return QString::fromUtf8(reinterpret_cast<const char *>(text.data()),
                             static_cast<qsizetype>(text.size()));
}
