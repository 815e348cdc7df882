#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <string>

#include "base/WideString.h"
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
            // Never returns: the child is killed inside the writer.
            IgnoreResult(SaveFileReplacing(m_dir.WideFile("saved.bin").c_str(), [&](CStream& stream) {
                stream.Write(fresh.data(), 1, static_cast<uint32_t>(written));
                step();
                for (;;)
                    pause();
                return true;
            }));
        });
        EXPECT_EQ(TempDir::Read(m_file), "old") << written;
    }
    // Killed wherever it is in an endless run of saves once three of them were done. The new
    // files keep the replaced file's permissions.
    chmod(m_file.c_str(), 0640);
    KillAfterSteps(3, [&](auto step) {
        for (int i = 0;; ++i) {
            IgnoreResult(Save(i % 2 ? other : fresh));  // a failed save shows in the file left behind
            step();
        }
    });
    std::string left = TempDir::Read(m_file);
    EXPECT_TRUE(left == fresh || left == other) << left.size();
    struct stat info;
    ASSERT_EQ(stat(m_file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(FileSaveTest, WhateverStandsAtADamagedSavesPlaceIsKeptAsTheOneDamagedCopy)
{
    const std::string copy = m_file + ".damaged";
    std::string kept;
    ASSERT_EQ(KeepDamagedFile(m_dir.WideFile("saved.bin").c_str(), &kept), RES_OK);
    EXPECT_EQ(kept, copy);
    EXPECT_EQ(TempDir::Read(copy), "old");
    EXPECT_FALSE(access(m_file.c_str(), F_OK) == 0) << "the place is free for the next save";
    EXPECT_EQ(KeepDamagedFile(m_dir.WideFile("saved.bin").c_str()), RES_FAIL) << "nothing there";

    // A later damaged file replaces the copy; so do a folder (with a file in it) and a pipe.
    m_dir.Write("saved.bin", "newer");
    ASSERT_EQ(KeepDamagedFile(m_dir.WideFile("saved.bin").c_str()), RES_OK);
    EXPECT_EQ(TempDir::Read(copy), "newer");
    m_dir.Write("saved.bin/inside", "x");
    EXPECT_TRUE(IsOtherThanFile(m_dir.WideFile("saved.bin").c_str()));
    ASSERT_EQ(KeepDamagedFile(m_dir.WideFile("saved.bin").c_str()), RES_OK);
    EXPECT_EQ(TempDir::Read(copy + "/inside"), "x");
    ASSERT_EQ(mkfifo(m_file.c_str(), 0600), 0);
    EXPECT_TRUE(IsOtherThanFile(m_dir.WideFile("saved.bin").c_str()));
    ASSERT_EQ(KeepDamagedFile(m_dir.WideFile("saved.bin").c_str()), RES_OK);
    struct stat info;
    ASSERT_EQ(lstat(copy.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(Save("fresh"), RES_OK);
    EXPECT_FALSE(IsOtherThanFile(m_dir.WideFile("saved.bin").c_str()));
}

TEST_F(FileSaveTest, OnlyInterruptedSavesOlderThanTheStartAreSweptAway)
{
    const time_t start = time(nullptr);
    const struct timespec before[2] = {{start - 60, 0}, {start - 60, 0}};
    auto old = [&](const std::string& name) {
        const std::string path = m_dir.Write(name, "left over");
        utimensat(AT_FDCWD, path.c_str(), before, 0);
        return path;
    };
    const std::string stale = old("a.v1.options.sav.Ab3xQz");
    const std::string kept[] = {old("a.v1.options.sav.damaged"), old("notes.txt.Ab3xQz"), old("a.sav.Ab3x"),
                                old("a.sav.Ab-xQz"), m_dir.Write("b.sav.Zz9Zz9", "being written now")};
    ASSERT_EQ(mkdir(m_dir.File("c.sav.Qq1Qq1").c_str(), 0700), 0);
    EXPECT_EQ(RemoveStaleSaveTemporaries(Utf8ToUtf16(m_dir.Path()).c_str(), start), 1u);
    EXPECT_NE(access(stale.c_str(), F_OK), 0);
    for (const std::string& path : kept)
        EXPECT_EQ(access(path.c_str(), F_OK), 0) << path;
    EXPECT_EQ(access(m_dir.File("c.sav.Qq1Qq1").c_str(), F_OK), 0);
    EXPECT_EQ(RemoveStaleSaveTemporaries(u"/nonexistent/folder", start), 0u);
}

TEST_F(FileSaveTest, AFolderTakesANewFileOnlyWhenOneCanBeMadeInIt)
{
    EXPECT_TRUE(CanCreateFileIn(Utf8ToUtf16(m_dir.Path()).c_str()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1) << "the probe is gone";
    EXPECT_FALSE(CanCreateFileIn(m_dir.WideFile("missing").c_str()));
    EXPECT_FALSE(CanCreateFileIn(m_dir.WideFile("saved.bin").c_str())) << "a file is no folder";
}
