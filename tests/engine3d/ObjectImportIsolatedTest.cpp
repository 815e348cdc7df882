#include "engine3d/ObjectImportIsolated.h"

#include <unistd.h>

#include <csignal>
#include <string>

#include <gtest/gtest.h>

TEST(ObjectImportIsolatedTest, HandsBackWhatTheChildReturned)
{
    std::string output;
    const char* reason = nullptr;
    std::string big(300000, 'x');
    ASSERT_TRUE(RunIsolated([&big] { return big + "end"; }, output, reason, 10000));
    EXPECT_EQ(output, big + "end");
    ASSERT_TRUE(RunIsolated([] { return std::string(); }, output, reason, 10000));
    EXPECT_TRUE(output.empty());
}

TEST(ObjectImportIsolatedTest, ADyingChildIsAFailure)
{
    std::string output;
    const char* reason = nullptr;
    EXPECT_FALSE(RunIsolated(
        [] {
            raise(SIGKILL);
            return std::string("never");
        },
        output, reason, 10000));
    EXPECT_STREQ(reason, "the importing library failed on the file");
    EXPECT_FALSE(RunIsolated(
        [] {
            _exit(3);
            return std::string();
        },
        output, reason, 10000));
    EXPECT_TRUE(output.empty());
}

TEST(ObjectImportIsolatedTest, SilenceAndTooMuchDataEndTheChild)
{
    std::string output;
    const char* reason = nullptr;
    EXPECT_FALSE(RunIsolated(
        [] {
            pause();
            return std::string();
        },
        output, reason, 50));
    EXPECT_STREQ(reason, "the import timed out");
    EXPECT_FALSE(RunIsolated([] { return std::string(5000, 'y'); }, output, reason, 10000, 4096));
    EXPECT_STREQ(reason, "the import produced too much data");
    EXPECT_TRUE(output.empty());
}
