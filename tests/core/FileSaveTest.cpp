#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/FileSave.h"
#include "core/Stream.h"
#include "core/WideString.h"
#include "tests/support/TempDir.h"

namespace {

class FileSaveTest : public ::testing::Test {
protected:
    Result Save(const std::string& bytes)
    {
        return SaveFileReplacing(m_path.c_str(), [&](CStream& stream) {
            return stream.Write(bytes.data(), 1, static_cast<uint32_t>(bytes.size()));
        });
    }
    size_t FileCount() const
    {
        size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_dir.Path()))
            ++count;
        return count;
    }
    // Runs body in a child process that signals through the pipe as it goes; kills it after the
    // given number of signals and waits for it.
    template <typename Body>
    void KillAfterSignals(int signals, Body body)
    {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            body(pipeEnds[1]);
            _exit(0);
        }
        close(pipeEnds[1]);
        char byte;
        for (int i = 0; i < signals; ++i)
            ASSERT_EQ(read(pipeEnds[0], &byte, 1), 1);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(pipeEnds[0]);
    }

    TempDir m_dir;
    std::u16string m_path = m_dir.WideFile("saved.bin");
    std::string m_file = m_dir.File("saved.bin");
};

void Signal(int fd)
{
    char byte = 1;
    if (write(fd, &byte, 1) != 1)
        _exit(2);
}

} // namespace

TEST_F(FileSaveTest, AFailedSaveKeepsTheOldFileAndLeavesNothingBehind)
{
    m_dir.Write("saved.bin", "old");
    chmod(m_file.c_str(), 0640);
    EXPECT_EQ(SaveFileReplacing(m_path.c_str(), [](CStream& stream) { return stream.Write("new", 1, 3) && false; }),
              RES_FAIL);
    EXPECT_EQ(TempDir::Read(m_file), "old");
    EXPECT_EQ(FileCount(), 1u);
    EXPECT_EQ(SaveFileReplacing(m_dir.WideFile("missing/saved.bin").c_str(), [](CStream&) { return true; }), RES_FAIL);
    std::filesystem::create_directory(m_dir.File("folder"));
    EXPECT_EQ(SaveFileReplacing(m_dir.WideFile("folder").c_str(), [](CStream&) { return true; }), RES_FAIL);
    EXPECT_EQ(FileCount(), 2u);

    ASSERT_EQ(Save("new"), RES_OK);
    EXPECT_EQ(TempDir::Read(m_file), "new");
    struct stat info;
    ASSERT_EQ(stat(m_file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u) << "the replaced file's permissions";
    EXPECT_EQ(FileCount(), 2u);
}

TEST_F(FileSaveTest, AProcessKilledWhileSavingLeavesTheOldOrTheNewFileWhole)
{
    const std::string old(5000, 'o');
    const std::string fresh(200000, 'n');
    // Killed inside the writer: before any byte, half-way, and after the last byte (before the rename).
    for (size_t written : {size_t(0), fresh.size() / 2, fresh.size()}) {
        m_dir.Write("saved.bin", old);
        KillAfterSignals(1, [&](int fd) {
            SaveFileReplacing(m_path.c_str(), [&](CStream& stream) {
                stream.Write(fresh.data(), 1, static_cast<uint32_t>(written));
                Signal(fd);
                for (;;)
                    pause();
                return true;
            });
        });
        EXPECT_EQ(TempDir::Read(m_file), old) << written;
    }
    // Killed at whatever point of an endless run of saves it has reached after three of them.
    const std::string other(150000, 'a');
    KillAfterSignals(3, [&](int fd) {
        for (int i = 0;; ++i) {
            Save(i % 2 ? other : fresh);
            Signal(fd);
        }
    });
    std::string left = TempDir::Read(m_file);
    EXPECT_TRUE(left == fresh || left == other) << left.size();
}
