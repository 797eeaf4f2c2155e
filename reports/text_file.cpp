#include "text_file.h"

#include "interrupt_cleanup.h"

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
#include <cstdio>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>
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

std::filesystem::path FolderOf(const std::filesystem::path &path)
{
    const std::filesystem::path folder = path.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

// A short name in the folder, whatever the length of the target's name.
std::filesystem::path RandomNameIn(const std::filesystem::path &folder)
{
    static constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device random;
    std::string name = ".pilecalc-";
    for (int i = 0; i < 10; ++i)
        name += Digits[random() % 36];
    return folder / (name + ".tmp");
}

#ifdef _WIN32

// Created only if it does not exist yet; the "x" mode is unknown to the older C runtimes.
std::FILE *OpenForWriting(const std::filesystem::path &path)
{
    const int descriptor =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0)
        return nullptr;
    std::FILE *file = _fdopen(descriptor, "wb");
    if (!file)
        _close(descriptor);
    return file;
}

#else

// The file a path names, through any symbolic links of its last part, so that the file the user
// sees is replaced in its own folder and the links stay.
std::filesystem::path LinkTarget(const std::filesystem::path &path)
{
    std::filesystem::path current = path;
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error)))
            break;
        const std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error)
            break;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

// Gives an unnamed file a name: by its descriptor where the process may, else through /proc.
bool LinkDescriptor(int descriptor, const std::filesystem::path &name)
{
    if (linkat(descriptor, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    const std::string procPath = "/proc/self/fd/" + std::to_string(descriptor);
    return linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

#endif

} // namespace

std::string ToSystemCodePage(std::string_view utf8)
{
#ifdef _WIN32
    return Utf8ToFileCodePage(utf8);
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
    OpenTemporary();
    m_buffer.reserve(FlushSize * 2);
}

TTextFileWriter::~TTextFileWriter()
{
    Discard();
}

#ifdef _WIN32

// The lines go to a temporary file beside the target, which is flushed to the disk and then moved
// over the target in one step.
void TTextFileWriter::OpenTemporary()
{
    m_destination = m_target;
    for (int attempt = 0; attempt < 10 && !m_file; ++attempt) {
        m_temporary = RandomNameIn(FolderOf(m_target));
        m_file = OpenForWriting(m_temporary);
        if (!m_file && errno != EEXIST)
            break;
    }
    if (!m_file) {
        m_temporary.clear();
        Fail(m_target, errno);
        return;
    }
    m_cleanupSlot = WatchTemporaryFile(m_temporary);
}

void TTextFileWriter::PutInPlace()
{
    if (!m_error && (std::fflush(m_file) != 0 || _commit(_fileno(m_file)) != 0))
        Fail(m_target, errno);
    if (std::fclose(m_file) != 0)
        Fail(m_target, errno);
    m_file = nullptr;
    // A plain rename onto an existing file fails on Windows unless asked to replace it.
    if (!m_error
        && !MoveFileExW(m_temporary.c_str(), m_destination.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        Fail(m_target, WindowsErrorText(GetLastError()));
    if (m_error) {
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
    }
    UnwatchTemporaryFile(m_cleanupSlot);
    m_cleanupSlot = -1;
}

void TTextFileWriter::Discard()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
        std::error_code ignored;
        std::filesystem::remove(m_temporary, ignored);
    }
    UnwatchTemporaryFile(m_cleanupSlot);
    m_cleanupSlot = -1;
}

#else

void TTextFileWriter::OpenTemporary()
{
    struct stat existing
    { };
    bool exists = stat(m_target.c_str(), &existing) == 0;
    if (exists && (S_ISCHR(existing.st_mode) || S_ISFIFO(existing.st_mode))) {
        // Nothing to replace: a device or a pipe takes the lines as they come.
        m_direct = true;
        m_destination = m_target;
        m_file = std::fopen(m_target.c_str(), "wb");
        if (!m_file)
            Fail(m_target, errno);
        return;
    }
    m_destination = LinkTarget(m_target);
    const char *destination = m_destination.c_str();
    exists = stat(destination, &existing) == 0;
    // A file that may not be written is not replaced either.
    if (exists && access(destination, W_OK) != 0) {
        Fail(m_target, errno);
        return;
    }
    const std::filesystem::path folder = FolderOf(m_destination);
    int descriptor = -1;
#ifdef O_TMPFILE
    // Unnamed until it is complete: nothing is left behind, however the process ends.
    descriptor = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#endif
    // Where the file system has no unnamed files, a short random name that an interruption removes.
    for (int attempt = 0; attempt < 10 && descriptor < 0; ++attempt) {
        m_temporary = RandomNameIn(folder);
        descriptor = open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0)
            m_cleanupSlot = WatchTemporaryFile(m_temporary);
        else if (errno != EEXIST)
            break;
    }
    if (descriptor < 0) {
        m_temporary.clear();
        Fail(m_target, errno);
        return;
    }
    if (exists && S_ISREG(existing.st_mode)) {
        // The owner only where the process may; the permission bits always.
        if (fchown(descriptor, existing.st_uid, existing.st_gid) != 0
            && fchown(descriptor, static_cast<uid_t>(-1), existing.st_gid) != 0) {
            // The file stays the process's own.
        }
        if (fchmod(descriptor, existing.st_mode & 07777) != 0)
            Fail(m_target, errno);
    }
    m_file = fdopen(descriptor, "wb");
    if (!m_file) {
        Fail(m_target, errno);
        close(descriptor);
    }
}

void TTextFileWriter::PutInPlace()
{
    if (m_direct) {
        if (std::fclose(m_file) != 0)
            Fail(m_target, errno);
        m_file = nullptr;
        return;
    }
    if (!m_error && (std::fflush(m_file) != 0 || fsync(fileno(m_file)) != 0))
        Fail(m_target, errno);
    for (int attempt = 0; attempt < 10 && !m_error && m_temporary.empty(); ++attempt) {
        const std::filesystem::path name = RandomNameIn(FolderOf(m_destination));
        if (LinkDescriptor(fileno(m_file), name)) {
            m_temporary = name;
            m_cleanupSlot = WatchTemporaryFile(m_temporary);
        } else if (errno != EEXIST) {
            Fail(m_target, errno);
        }
    }
    if (std::fclose(m_file) != 0)
        Fail(m_target, errno);
    m_file = nullptr;
    if (!m_error && std::rename(m_temporary.c_str(), m_destination.c_str()) != 0)
        Fail(m_target, errno);
    if (m_error && !m_temporary.empty())
        unlink(m_temporary.c_str());
    UnwatchTemporaryFile(m_cleanupSlot);
    m_cleanupSlot = -1;
}

void TTextFileWriter::Discard()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
        if (!m_temporary.empty())
            unlink(m_temporary.c_str());
    }
    UnwatchTemporaryFile(m_cleanupSlot);
    m_cleanupSlot = -1;
}

#endif

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
    FlushFull();
}

void TTextFileWriter::WriteBytes(std::string_view bytes)
{
    if (m_error)
        return;
    m_buffer += bytes;
    FlushFull();
}

void TTextFileWriter::FlushFull()
{
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
    if (m_file)
        PutInPlace();
    return m_error;
}

std::optional<std::string> SaveBinaryFile(const std::filesystem::path &folder,
                                          std::string_view fileName, std::string_view bytes)
{
    TTextFileWriter writer(FilePath(folder, fileName));
    writer.WriteBytes(bytes);
    return writer.Commit();
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
