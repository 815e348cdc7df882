#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "core/FileSave.h"
#include "core/Stream.h"
#include "tests/support/TempDir.h"

namespace {

class FileSaveTest : public ::testing::Test {
protected:
    Result Save(const std::string& bytes)
    {
        return SaveFileReplacing(m_dir.WideFile("saved.bin").c_str(), [&](CStream& stream) {
            return stream.Write(bytes.data(), 1, static_cast<uint32_t>(bytes.size()));
        });
    }
    // Runs body in a child process, which writes a byte to the pipe at each step it reaches; kills
    // it once the given number of steps were reported.
    template <typename Body>
    void KillAfterSteps(int steps, Body body)
    {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        pid_t child = fork();
        if (child == 0) {
            body([&] { (void)!write(ends[1], "s", 1); });
            _exit(0);
        }
        char byte;
        for (int i = 0; i < steps; ++i)
            ASSERT_EQ(read(ends[0], &byte, 1), 1);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        close(ends[0]);
        close(ends[1]);
    }

    TempDir m_dir;
    std::string m_file = m_dir.Write("saved.bin", "old");
};

} // namespace

TEST_F(FileSaveTest, AProcessKilledWhileSavingLeavesTheOldOrTheNewFileWhole)
{
    const std::string fresh(200000, 'n'), other(150000, 'a');
    // Killed inside the writer: before any byte, half-way, and after the last byte (before the rename).
    for (size_t written : {size_t(0), fresh.size() / 2, fresh.size()}) {
        KillAfterSteps(1, [&](auto step) {
            SaveFileReplacing(m_dir.WideFile("saved.bin").c_str(), [&](CStream& stream) {
                stream.Write(fresh.data(), 1, static_cast<uint32_t>(written));
                step();
                for (;;)
                    pause();
                return true;
            });
        });
        EXPECT_EQ(TempDir::Read(m_file), "old") << written;
    }
    // Killed wherever it is in an endless run of saves once three of them were done. The new
    // files keep the replaced file's permissions.
    chmod(m_file.c_str(), 0640);
    KillAfterSteps(3, [&](auto step) {
        for (int i = 0;; ++i) {
            Save(i % 2 ? other : fresh);
            step();
        }
    });
    std::string left = TempDir::Read(m_file);
    EXPECT_TRUE(left == fresh || left == other) << left.size();
    struct stat info;
    ASSERT_EQ(stat(m_file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}
