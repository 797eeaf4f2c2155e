#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 text in the system's ANSI code page: the Windows API's conversion on Windows, GBK (code
// page 936) elsewhere, so the bytes are those a simplified-Chinese Windows system writes. A Windows
// whose code page cannot hold Chinese (1252 on an English system) writes GBK too. A character the
// code page cannot hold becomes "?".
std::string ToSystemCodePage(std::string_view utf8);

// Writes a text file line by line, each line encoded and ended with CR LF, the last included. The
// lines go to a temporary file in the target's folder, which replaces the target only when
// everything was written: a failed save leaves the previous file intact. On Linux the temporary
// file has no name until it is complete (a short random name elsewhere, removed again when the
// process is interrupted); a symbolic link is followed, so its target is replaced and the link
// stays; an existing file keeps its permission bits and, where the process may, its owner. A
// device or a pipe in place of the file is written into directly.
class TTextFileWriter
{
public:
    explicit TTextFileWriter(std::filesystem::path target);
    ~TTextFileWriter();
    TTextFileWriter(const TTextFileWriter &) = delete;
    TTextFileWriter &operator=(const TTextFileWriter &) = delete;

    void WriteLine(std::string_view utf8);
    // Bytes as they are, for a document that is not text (a PDF).
    void WriteBytes(std::string_view bytes);

    // Closes the file and puts it in place; gives the operating system's message on failure.
    std::optional<std::string> Commit();

private:
    void Fail(const std::filesystem::path &path, int error);
    void Fail(const std::filesystem::path &path, const std::string &message);
    void FlushFull();
    void OpenTemporary();
    void PutInPlace();
    void Discard();

    std::filesystem::path m_target; // as named, for messages
    std::filesystem::path m_destination; // the file replaced: the target of a link
    std::filesystem::path m_temporary; // empty while the temporary file has no name
    std::FILE *m_file = nullptr;
    int m_cleanupSlot = -1;
    bool m_direct = false; // a device or pipe, written into as it stands
    std::string m_buffer;
    std::optional<std::string> m_error;
};

// The whole file at once: `folder` / `fileName` (UTF-8) from the lines.
std::optional<std::string> SaveTextFile(const std::filesystem::path &folder,
                                        std::string_view fileName,
                                        const std::vector<std::string> &lines);

// A document that is not text, written the same way: `folder` / `fileName` (UTF-8) from the bytes.
std::optional<std::string> SaveBinaryFile(const std::filesystem::path &folder,
                                          std::string_view fileName, std::string_view bytes);

// The path of a UTF-8 file name in a folder.
std::filesystem::path FilePath(const std::filesystem::path &folder, std::string_view fileName);
