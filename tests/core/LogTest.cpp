#include "base/FileSystem.h"
#include "core/Log.h"
#include "base/WideString.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::u16string g_debugText;
int g_debugCalls = 0;

void RecordDebug(const char16_t* text)
{
    g_debugText = text;
    ++g_debugCalls;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_debugText.clear();
        g_debugCalls = 0;
        SetLogDebugHook(RecordDebug);
    }
    void TearDown() override { SetLogDebugHook(nullptr); }
    TempDir m_dir;
};

} // namespace

TEST_F(LogTest, SwitchOffWritesNothingAnywhere)
{
    std::u16string path = m_dir.WideFile("App.log");
    testing::internal::CaptureStderr();
    LogPrintf(path.c_str(), 0, u"# STARTED...\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(g_debugCalls, 0);
    EXPECT_FALSE(FileExists(path.c_str()));
}

TEST_F(LogTest, SwitchOnAppendsToAllThreeOutputs)
{
    std::u16string path = m_dir.WideFile("App.log");
    testing::internal::CaptureStderr();
    LogPrintf(path.c_str(), 1, u"# Missing %s %d%%\n", u"a%sb.png", 7);
    LogPrintf(path.c_str(), 1, u"no newline");
    LogPrintf(path.c_str(), 1, u"|%S\n", "next");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "# Missing a%sb.png 7%\nno newline|next\n");
    EXPECT_EQ(g_debugText, u"|next\n");
    EXPECT_EQ(g_debugCalls, 3);
    EXPECT_EQ(TempDir::Read(m_dir.File("App.log")), "# Missing a%sb.png 7%\nno newline|next\n");
}

TEST_F(LogTest, NullPathStillReachesDebugAndStderr)
{
    testing::internal::CaptureStderr();
    LogPrintf(nullptr, 1, u"hello \u00e9\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "hello \xc3\xa9\n");
    EXPECT_EQ(g_debugText, u"hello \u00e9\n");
}

TEST_F(LogTest, LongTextIsCutAt4095Units)
{
    std::u16string longText(5000, u'x');
    testing::internal::CaptureStderr();
    LogPrintf(nullptr, 1, u"%s", longText.c_str());
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(g_debugText.size(), 4095u);
}
