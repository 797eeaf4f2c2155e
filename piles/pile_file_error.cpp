#include "pile_file_error.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>

TPileFileError::TPileFileError(const std::string &english, std::string chinese)
    : std::runtime_error(english)
    , m_chinese(std::move(chinese))
{ }

TPileFileError TPileFileError::Within(std::string_view englishPlace,
                                      std::string_view chinesePlace) const
{
    return TPileFileError(std::string(englishPlace) + ": " + what(),
                          std::string(chinesePlace) + "：" + m_chinese);
}

std::string ShownText(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    char escape[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto ch = static_cast<unsigned char>(text[i]);
        if (ch < 0x20 || ch == 0x7F) {
            std::snprintf(escape, sizeof escape, "\\x%02x", ch);
            shown += escape;
        } else if (ch == 0xC2 && i + 1 < text.size()
                   && static_cast<unsigned char>(text[i + 1]) >= 0x80
                   && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080 … U+009F, which some terminals take as commands too.
            std::snprintf(escape, sizeof escape, "\\u%04x",
                          static_cast<unsigned char>(text[i + 1]));
            shown += escape;
            ++i;
        } else {
            shown += text[i];
        }
    }
    return shown;
}

std::string SystemReason(int error)
{
    return std::generic_category().message(error);
}

std::string ChineseSystemReason(int error)
{
    static constexpr std::array<std::pair<int, const char *>, 24> Reasons {{
        {ENOENT, "文件或文件夹不存在"},
        {EACCES, "没有访问权限"},
        {EPERM, "操作不被允许"},
        {EISDIR, "这是一个文件夹，不是文件"},
        {ENOTDIR, "路径中有一部分不是文件夹"},
        {ENOSPC, "磁盘空间不足"},
        {EROFS, "文件系统为只读"},
        {ELOOP, "符号链接层数过多"},
        {ENAMETOOLONG, "文件名过长"},
        {EMFILE, "本程序打开的文件过多"},
        {ENFILE, "系统打开的文件过多"},
        {EIO, "输入/输出错误"},
        {EBUSY, "设备或资源正忙"},
        {EEXIST, "文件已存在"},
        {EINVAL, "参数无效"},
        {ENOMEM, "内存不足"},
        {EFBIG, "文件过大"},
        {ENXIO, "设备或地址不存在"},
        {ENODEV, "设备不存在"},
        {EAGAIN, "资源暂时不可用"},
        {EINTR, "操作被中断"},
        {EXDEV, "不能跨文件系统移动"},
        {ETXTBSY, "文件正在使用中"},
        {EPIPE, "管道已断开"},
    }};
    for (const auto &[number, text] : Reasons) {
        if (number == error)
            return text;
    }
    return "系统错误 " + std::to_string(error);
}
