#include "text_file.h"

#include <cerrno>
#include <random>
#include <system_error>

#ifdef _WIN32
#include "windows_text.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

constexpr std::size_t FlushSize = 1 << 16;

#ifndef _WIN32

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

class TConverter
{
public:
    TConverter()
    {
        m_handle = iconv_open("CP936", "UTF-8");
        if (m_handle == reinterpret_cast<iconv_t>(-1))
            m_handle = iconv_open("GBK", "UTF-8");
    }
    ~TConverter()
    {
        if (m_handle != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_handle);
    }
    TConverter(const TConverter &) = delete;
    TConverter &operator=(const TConverter &) = delete;

    std::string Convert(std::string_view utf8)
    {
        std::string bytes;
        bytes.resize(utf8.size() + 16);
        char *in = const_cast<char *>(utf8.data());
        std::size_t inLeft = utf8.size();
        std::size_t written = 0;
        while (inLeft > 0) {
            char *out = bytes.data() + written;
            std::size_t outLeft = bytes.size() - written;
            const std::size_t result = iconv(m_handle, &in, &inLeft, &out, &outLeft);
            written = bytes.size() - outLeft;
            if (result != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG) {
                bytes.resize(bytes.size() * 2);
                continue;
            }
            // A character the code page cannot hold, or a broken sequence: one "?" for it.
            const std::size_t skip =
                std::min(SequenceLength(static_cast<unsigned char>(*in)), inLeft);
            in += skip;
            inLeft -= skip;
            if (written == bytes.size())
                bytes.resize(bytes.size() * 2);
            bytes[written++] = '?';
        }
        bytes.resize(written);
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        return bytes;
    }

private:
    iconv_t m_handle;
};

#endif

std::string ErrorText(const std::filesystem::path &path, const std::string &message)
{
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end()) + ": " + message;
}

std::FILE *OpenForWriting(const std::filesystem::path &path)
{
#ifdef _WIN32
    // Created only if it does not exist yet ("x" is unknown to the older C runtimes).
    const int descriptor =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0)
        return nullptr;
    std::FILE *file = _fdopen(descriptor, "wb");
    if (!file)
        _close(descriptor);
    return file;
#else
    return std::fopen(path.c_str(), "wbx");
#endif
}

std::filesystem::path TemporaryBeside(const std::filesystem::path &target)
{
    std::random_device random;
    std::filesystem::path temporary = target;
    temporary += ".tmp" + std::to_string(random() % 1000000000u);
    return temporary;
}

// Puts the written temporary file in the target's place in one step, replacing an older target.
std::optional<std::string> MoveIntoPlace(const std::filesystem::path &temporary,
                                         const std::filesystem::path &target)
{
#ifdef _WIN32
    // A plain rename onto an existing file fails on Windows unless asked to replace it.
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return WindowsErrorText(GetLastError());
#else
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error)
        return error.message();
#endif
    return std::nullopt;
}

} // namespace

std::string ToSystemCodePage(std::string_view utf8)
{
#ifdef _WIN32
    return Utf8ToAnsiCodePage(utf8);
#else
    static thread_local TConverter converter;
    return converter.Convert(utf8);
#endif
}

std::filesystem::path FilePath(const std::filesystem::path &folder, std::string_view fileName)
{
    const std::u8string name(fileName.begin(), fileName.end());
    return folder / std::filesystem::path(name);
}

TTextFileWriter::TTextFileWriter(std::filesystem::path target)
    : m_target(std::move(target))
{
    for (int attempt = 0; attempt < 10 && !m_file; ++attempt) {
        m_temporary = TemporaryBeside(m_target);
        m_file = OpenForWriting(m_temporary);
        if (!m_file && errno != EEXIST)
            break;
    }
    if (!m_file)
        Fail(m_target, errno);
    m_buffer.reserve(FlushSize * 2);
}

TTextFileWriter::~TTextFileWriter()
{
    if (m_file) {
        std::fclose(m_file);
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
    }
}

void TTextFileWriter::Fail(const std::filesystem::path &path, int error)
{
    Fail(path, std::generic_category().message(error));
}

void TTextFileWriter::Fail(const std::filesystem::path &path, const std::string &message)
{
    if (!m_error)
        m_error = ErrorText(path, message);
}

void TTextFileWriter::WriteLine(std::string_view utf8)
{
    if (m_error)
        return;
    m_buffer += ToSystemCodePage(utf8);
    m_buffer += "\r\n";
    if (m_buffer.size() >= FlushSize) {
        if (std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size())
            Fail(m_target, errno);
        m_buffer.clear();
    }
}

std::optional<std::string> TTextFileWriter::Commit()
{
    if (!m_error && !m_buffer.empty()
        && std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size())
        Fail(m_target, errno);
    m_buffer.clear();
    if (m_file) {
        if (std::fclose(m_file) != 0)
            Fail(m_target, errno);
        m_file = nullptr;
        if (!m_error) {
            if (const auto error = MoveIntoPlace(m_temporary, m_target))
                Fail(m_target, *error);
        }
        std::error_code error;
        if (m_error)
            std::filesystem::remove(m_temporary, error);
    }
    return m_error;
}

std::optional<std::string> SaveTextFile(const std::filesystem::path &folder,
                                        std::string_view fileName,
                                        const std::vector<std::string> &lines)
{
    TTextFileWriter writer(FilePath(folder, fileName));
    for (const std::string &line : lines)
        writer.WriteLine(line);
    return writer.Commit();
}
