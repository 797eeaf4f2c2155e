#include "pile_file.h"

#include "pile_csv.h"
#include "pile_file_error.h"
#include "pile_json.h"
#include "pile_json_writer.h"
#include "text_encoding.h"
#include "text_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

TPileFileFormat PileFileFormatOf(std::string_view path)
{
    if (path.size() < 4)
        return TPileFileFormat::Json;
    std::string extension(path.substr(path.size() - 4));
    for (char &ch : extension)
        ch = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
    return extension == ".csv" ? TPileFileFormat::Csv : TPileFileFormat::Json;
}

std::string InputName(const std::string &path)
{
    return path == "-" ? std::string("standard input") : path;
}

std::string ReadInputText(const std::string &path)
{
    const std::string source = InputName(path);
    std::FILE *file = stdin;
    if (path != "-") {
#ifdef _WIN32
        file = _wfopen(FilePath({}, path).c_str(), L"rb");
#else
        file = std::fopen(path.c_str(), "rb");
#endif
        if (!file) {
            const int error = errno;
            throw TPileFileError(source + ": cannot be opened: " + SystemReason(error),
                                 source + "：无法打开：" + ChineseSystemReason(error));
        }
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> closer(
        file == stdin ? nullptr : file, [](std::FILE *f) { return std::fclose(f); });
    std::string text;
    if (file != stdin) {
        // The size of a plain file at once, rather than a buffer grown to twice what it holds.
        std::error_code error;
        const auto size = std::filesystem::file_size(FilePath({}, path), error);
        if (!error && size <= MaxInputBytes)
            text.reserve(static_cast<std::size_t>(size));
    }
    std::vector<char> chunk(std::size_t {1} << 16);
    while (true) {
        const std::size_t read = std::fread(chunk.data(), 1, chunk.size(), file);
        if (read == 0)
            break;
        if (text.size() + read > MaxInputBytes) {
            const std::string limit = std::to_string(MaxInputBytes >> 20);
            throw TPileFileError(source + ": larger than " + limit
                                     + " MB, the limit of an input file",
                                 source + "：大于 " + limit + " MB，超出了输入文件的上限");
        }
        text.append(chunk.data(), read);
    }
    if (std::ferror(file)) {
        const int error = errno;
        throw TPileFileError(source + ": cannot be read: " + SystemReason(error),
                             source + "：无法读取：" + ChineseSystemReason(error));
    }
    return text;
}

std::size_t ForEachPile(std::string_view bytes, TPileFileFormat format, const std::string &source,
                        const TPileSink &take)
{
    std::size_t count = 0;
    if (format == TPileFileFormat::Json) {
        if (bytes.starts_with(Utf8ByteOrderMark))
            bytes.remove_prefix(Utf8ByteOrderMark.size());
        count = ReadJsonPiles(bytes, source, take);
    } else {
        try {
            count = ReadCsvPiles(bytes, take);
        } catch (const TPileFileError &error) {
            throw error.Within(source, source);
        }
    }
    if (count == 0)
        throw TNoPileError(source + ": holds no pile", source + "：文件中没有桩");
    return count;
}

std::vector<TPileInput> PilesFromFileText(std::string_view bytes, TPileFileFormat format,
                                          const std::string &source)
{
    std::vector<TPileInput> piles;
    ForEachPile(bytes, format, source,
                [&piles](const TPileInput &pile, const TPileOrigin &) { piles.push_back(pile); });
    return piles;
}

std::vector<TPileInput> ReadPileFile(const std::string &path)
{
    return PilesFromFileText(ReadInputText(path), PileFileFormatOf(path), InputName(path));
}

TPileFileWriter::TPileFileWriter(TPileFileFormat format, std::function<void(std::string_view)> put)
    : m_format(format)
    , m_put(std::move(put))
{ }

void TPileFileWriter::Add(const TPileInput &input)
{
    if (m_format == TPileFileFormat::Csv) {
        if (m_count == 0)
            m_put(PileCsvHead());
        m_put(PileCsvLine(input, static_cast<int>(m_count) + 1));
    } else {
        m_put(PileJsonPart(input, m_count));
    }
    ++m_count;
}

void TPileFileWriter::Finish()
{
    if (m_format == TPileFileFormat::Csv) {
        if (m_count == 0)
            m_put(PileCsvHead());
    } else {
        m_put(PileJsonEnd(m_count));
    }
}

std::string PileFileBytes(const std::vector<TPileInput> &piles, TPileFileFormat format)
{
    std::string bytes;
    TPileFileWriter writer(format, [&bytes](std::string_view part) { bytes += part; });
    for (const TPileInput &input : piles)
        writer.Add(input);
    writer.Finish();
    return bytes;
}
