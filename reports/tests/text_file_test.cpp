#include "interrupt_cleanup.h"
#include "text_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::size_t EntryCount(const std::filesystem::path &folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

// Runs `body` in a child process; gives the signal that ended it, 0 when it exited.
template<typename TBody>
int SignalOfChild(TBody body)
{
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

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

TEST_F(TextFile, TheTemporaryNameDoesNotGrowWithTheTargetName)
{
    for (const std::size_t length : {243u, 250u, 255u}) {
        const std::string name = std::string(length - 4, 'n') + ".txt";
        EXPECT_EQ(SaveTextFile(m_folder, name, {"x"}), std::nullopt) << length;
        std::ofstream(m_folder / name) << "old";
        EXPECT_EQ(SaveTextFile(m_folder, name, {"new"}), std::nullopt) << length;
        EXPECT_EQ(ReadBytes(m_folder / name), "new\r\n");
    }
    EXPECT_EQ(EntryCount(m_folder), 3u);
}

// Through a link, the file it points to is replaced in its own folder, and the link stays.
TEST_F(TextFile, SavingThroughALinkReplacesItsTargetAndKeepsTheLink)
{
    const std::filesystem::path real = m_folder / "real";
    const std::filesystem::path links = m_folder / "links";
    std::filesystem::create_directories(real);
    std::filesystem::create_directories(links);
    std::ofstream(real / "report.txt") << "old";
    std::filesystem::create_symlink("../real/report.txt", links / "report.txt");
    std::filesystem::create_symlink(links / "report.txt", links / "second.txt"); // a chain
    std::filesystem::create_symlink("../real/new.txt", links / "dangling.txt");

    ASSERT_EQ(SaveTextFile(links, "second.txt", {"new"}), std::nullopt);
    ASSERT_EQ(SaveTextFile(links, "dangling.txt", {"created"}), std::nullopt);
    EXPECT_EQ(ReadBytes(real / "report.txt"), "new\r\n");
    EXPECT_EQ(ReadBytes(real / "new.txt"), "created\r\n");
    for (const char *name : {"report.txt", "second.txt", "dangling.txt"})
        EXPECT_TRUE(std::filesystem::is_symlink(links / name)) << name;
    EXPECT_EQ(EntryCount(links), 3u);
    EXPECT_EQ(EntryCount(real), 2u);
}

TEST_F(TextFile, AReplacedFileKeepsItsPermissionsAndOwner)
{
    for (const mode_t mode : {0600, 0640, 0444, 0755}) {
        const std::filesystem::path path = m_folder / "report.txt";
        std::filesystem::remove(path);
        std::ofstream(path) << "old";
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        const bool root = geteuid() == 0;
        if (root)
            ASSERT_EQ(chown(path.c_str(), 1234, 5678), 0);
        if (mode == 0444 && !root) {
            // A file the user may not write is not replaced either.
            EXPECT_TRUE(SaveTextFile(m_folder, "report.txt", {"new"}));
            EXPECT_EQ(ReadBytes(path), "old");
            continue;
        }
        ASSERT_EQ(SaveTextFile(m_folder, "report.txt", {"new"}), std::nullopt) << mode;
        struct stat info
        { };
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
        if (root) {
            EXPECT_EQ(info.st_uid, 1234u);
            EXPECT_EQ(info.st_gid, 5678u);
        }
        EXPECT_EQ(ReadBytes(path), "new\r\n");
    }
}

TEST_F(TextFile, FailuresLeaveTheOldFileAndNameTheReason)
{
    std::filesystem::create_directories(m_folder / "report.txt" / "inside");
    const auto error = SaveTextFile(m_folder, "report.txt", {"x"});
    ASSERT_TRUE(error);
    EXPECT_NE(error->find("Is a directory"), std::string::npos) << *error;
    EXPECT_TRUE(std::filesystem::exists(m_folder / "report.txt" / "inside"));
    EXPECT_EQ(EntryCount(m_folder), 1u);

    const auto full = SaveTextFile("/dev", "full", {std::string(100000, 'x')});
    ASSERT_TRUE(full);
    EXPECT_EQ(*full, "/dev/full: No space left on device");
    struct stat info
    { };
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)); // a device stays a device
}

// However the process ends in the middle of a save, the old file stays and nothing is left
// beside it.
TEST_F(TextFile, AnInterruptedSaveLeavesNothingBehind)
{
    for (const int signal : {SIGKILL, SIGTERM, SIGINT, SIGHUP}) {
        std::ofstream(m_folder / "report.txt") << "old";
        const int ended = SignalOfChild([&] {
            TTextFileWriter writer(m_folder / "report.txt");
            for (int i = 0; i < 100000; ++i)
                writer.WriteLine("a line of the report");
            raise(signal);
        });
        EXPECT_EQ(ended, signal);
        EXPECT_EQ(ReadBytes(m_folder / "report.txt"), "old");
        EXPECT_EQ(EntryCount(m_folder), 1u) << signal;
    }
}

// Where a temporary file has a name, an interruption removes it, and the signal still ends the
// process.
TEST_F(TextFile, ANamedTemporaryIsRemovedOnInterruption)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const std::filesystem::path temporary = m_folder / "temporary";
        const int ended = SignalOfChild([&] {
            std::ofstream(temporary) << "partial";
            WatchTemporaryFile(temporary);
            raise(signal);
        });
        EXPECT_EQ(ended, signal);
        EXPECT_FALSE(std::filesystem::exists(temporary)) << signal;
    }
    // Not watched any more: the file stays.
    const std::filesystem::path kept = m_folder / "kept";
    std::ofstream(kept) << "complete";
    EXPECT_EQ(SignalOfChild([&] {
                  UnwatchTemporaryFile(WatchTemporaryFile(kept));
                  raise(SIGTERM);
              }),
              SIGTERM);
    EXPECT_TRUE(std::filesystem::exists(kept));
}

} // namespace
