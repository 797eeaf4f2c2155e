#include "pile_file.h"

#include "pile_csv.h"
#include "pile_file_error.h"
#include "pile_json.h"
#include "pile_json_writer.h"
#include "text_encoding.h"
#include "text_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace {

std::string SystemMessage(int error)
{
    return std::generic_category().message(error);
}

} // namespace

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
        if (!file)
            throw TPileFileError(source + ": cannot be opened: " + SystemMessage(errno));
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> closer(
        file == stdin ? nullptr : file, [](std::FILE *f) { return std::fclose(f); });
    std::string text;
    std::vector<char> chunk(std::size_t {1} << 16);
    while (true) {
        const std::size_t read = std::fread(chunk.data(), 1, chunk.size(), file);
        if (read == 0)
            break;
        if (text.size() + read > MaxInputBytes) {
            throw TPileFileError(source + ": larger than " + std::to_string(MaxInputBytes >> 20)
                                 + " MB, the limit of an input file");
        }
        text.append(chunk.data(), read);
    }
    if (std::ferror(file))
        throw TPileFileError(source + ": cannot be read: " + SystemMessage(errno));
    return text;
}

std::vector<TPileInput> PilesFromFileText(std::string_view bytes, TPileFileFormat format,
                                          const std::string &source)
{
    return PileDocumentFromFileText(bytes, format, source).piles;
}

TPileDocument PileDocumentFromFileText(std::string_view bytes, TPileFileFormat format,
                                       const std::string &source)
{
    if (format == TPileFileFormat::Json) {
        if (bytes.starts_with(Utf8ByteOrderMark))
            bytes.remove_prefix(Utf8ByteOrderMark.size());
        return PileDocumentFromText(bytes, source);
    }
    try {
        return {{}, PilesFromCsv(bytes)};
    } catch (const TPileFileError &error) {
        throw TPileFileError(source + ": " + error.what());
    }
}

std::vector<TPileInput> ReadPileFile(const std::string &path)
{
    return ReadPileDocument(path).piles;
}

TPileDocument ReadPileDocument(const std::string &path)
{
    return PileDocumentFromFileText(ReadInputText(path), PileFileFormatOf(path), InputName(path));
}

std::string PileFileBytes(const std::vector<TPileInput> &piles, TPileFileFormat format)
{
    return format == TPileFileFormat::Csv ? PilesToCsv(piles) : PilesToJsonText(piles);
}

std::string PileDocumentBytes(const TPileDocument &document, TPileFileFormat format)
{
    if (format == TPileFileFormat::Csv || document.project.Empty())
        return PileFileBytes(document.piles, format);
    return PileDocumentToJsonText(document.project, document.piles);
}
