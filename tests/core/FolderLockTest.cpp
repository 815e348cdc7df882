#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/FolderLock.h"
#include "tests/support/TempDir.h"

namespace {

// What another program taking the folder finds: a child locks it as the lock does, on a
// descriptor of its own (a forked child shares this process's record of the folders it holds).
CFolderLock::State TakeInAnotherProcess(const std::string& folder)
{
    pid_t child = fork();
    if (child == 0) {
        int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        _exit(static_cast<int>(fd < 0 ? CFolderLock::State::Unusable
                               : flock(fd, LOCK_EX | LOCK_NB) == 0 ? CFolderLock::State::Held
                                                                   : CFolderLock::State::TakenByAnother));
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? static_cast<CFolderLock::State>(WEXITSTATUS(status)) : CFolderLock::State::None;
}

} // namespace

TEST(FolderLockTest, AFolderBelongsToOneProcessTillItsLastHolderLetsGo)
{
    TempDir dir;
    std::filesystem::create_directories(dir.File("saves"));
    const std::string folder = dir.File("saves");
    CFolderLock first, second;
    ASSERT_EQ(first.Take(folder), CFolderLock::State::Held);
    EXPECT_EQ(second.Take(folder), CFolderLock::State::Held) << "holders in one process share it";
    EXPECT_TRUE(first.Holds(folder) && second.Holds(folder));
    EXPECT_EQ(TakeInAnotherProcess(folder), CFolderLock::State::TakenByAnother);
    first.Release();
    EXPECT_EQ(TakeInAnotherProcess(folder), CFolderLock::State::TakenByAnother);
    second.Release();
    EXPECT_EQ(TakeInAnotherProcess(folder), CFolderLock::State::Held);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 0) << "nothing added to it";

    // Taking another folder lets the first one go; a folder that does not open is unusable.
    std::filesystem::create_directories(dir.File("other"));
    ASSERT_EQ(first.Take(folder), CFolderLock::State::Held);
    ASSERT_EQ(first.Take(dir.File("other")), CFolderLock::State::Held);
    EXPECT_FALSE(first.Holds(folder));
    EXPECT_EQ(TakeInAnotherProcess(folder), CFolderLock::State::Held);
    EXPECT_EQ(first.Take(dir.File("missing")), CFolderLock::State::Unusable);
    EXPECT_EQ(TakeInAnotherProcess(dir.File("other")), CFolderLock::State::Held);
}
