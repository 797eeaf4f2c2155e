#include "text_file.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

std::string ReadBytes(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class TextFile : public testing::Test
{
protected:
    void SetUp() override
    {
        // Named after the test: the cases may run side by side in separate processes.
        m_folder = std::filesystem::path(testing::TempDir())
            / ("text_file_"
               + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::filesystem::path m_folder;
};

TEST_F(TextFile, GbkBytesWithCrLfAndNoByteOrderMark)
{
    const std::vector<std::string> lines = {"计算时间：2024/3/5", "μ∑①", "", "a€\U0001F600b"};
    ASSERT_EQ(SaveTextFile(m_folder, "书.txt", lines), std::nullopt);
    const std::string expected = "\xBC\xC6\xCB\xE3\xCA\xB1\xBC\xE4\xA3\xBA"
                                 "2024/3/5\r\n"
                                 "\xA6\xCC\xA1\xC6\xA2\xD9\r\n"
                                 "\r\n"
                                 "a\x80?b\r\n";
    EXPECT_EQ(ReadBytes(m_folder / std::filesystem::path(u8"书.txt")), expected);
}

TEST_F(TextFile, EmptyReportGivesEmptyFile)
{
    ASSERT_EQ(SaveTextFile(m_folder, "empty.txt", {}), std::nullopt);
    EXPECT_TRUE(std::filesystem::exists(m_folder / "empty.txt"));
    EXPECT_EQ(std::filesystem::file_size(m_folder / "empty.txt"), 0u);
}

TEST_F(TextFile, ReplacesAnOlderFileAndLeavesNoTemporary)
{
    std::ofstream(m_folder / "report.txt") << "old contents that are longer";
    ASSERT_EQ(SaveTextFile(m_folder, "report.txt", {"new"}), std::nullopt);
    EXPECT_EQ(ReadBytes(m_folder / "report.txt"), "new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(TextFile, FailedSaveReportsTheSystemMessage)
{
    const auto error = SaveTextFile(m_folder / "missing", "report.txt", {"x"});
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("No such file or directory"), std::string::npos) << *error;
    EXPECT_FALSE(std::filesystem::exists(m_folder / "missing"));
}

TEST_F(TextFile, FailedSaveLeavesThePreviousFileIntact)
{
    // A folder that nobody, not even root, can write into, holding a file of that name.
    const std::string before = ReadBytes("/proc/version");
    ASSERT_FALSE(before.empty());
    const auto error = SaveTextFile("/proc", "version", {"x"});
    ASSERT_TRUE(error);
    EXPECT_EQ(ReadBytes("/proc/version"), before);
}

} // namespace
