#include <sys/stat.h>

#include "base/WideString.h"
#include "platform/win32/Win32System.h"
#include "tests/platform/PlatformTestHelpers.h"
#include "tests/support/TempDir.h"

namespace {

class ShellTest : public PlatformTest {
protected:
    void SetUp() override
    {
        // A launcher that records its arguments, one per line.
        m_log = m_dir.File("arguments.txt");
        std::string script = "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '" + m_log + "'; done\n";
        m_launcher = m_dir.Write("launcher.sh", script);
        chmod(m_launcher.c_str(), 0755);
        SetShellLauncher(m_launcher.c_str());
    }

    SHELLEXECUTEINFOW Info(const char16_t* verb, const char16_t* file) const
    {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = verb;
        info.lpFile = file;
        info.nShow = 5;
        return info;
    }

    TempDir m_dir;
    std::string m_log;
    std::string m_launcher;
};

} // namespace

TEST_F(ShellTest, OpenPassesTheTargetAsOneArgumentWithoutAShell)
{
    std::u16string url = u"http://example.test/more?game=1&x=$(touch pwned); echo `id`";
    SHELLEXECUTEINFOW info = Info(u"open", url.c_str());
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_EQ(info.hProcess, nullptr);
    EXPECT_EQ(ReapShellChildren(true), 0);
    EXPECT_EQ(TempDir::Read(m_log), Utf16ToUtf8(url) + "\n");
    struct stat info2;
    EXPECT_NE(stat("pwned", &info2), 0);
}

TEST_F(ShellTest, OnlyTheOpenVerbAndAnExistingLauncher)
{
    SHELLEXECUTEINFOW edit = Info(u"edit", u"http://example.test/");
    EXPECT_FALSE(ShellExecuteExW(&edit));
    EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);
    SHELLEXECUTEINFOW empty = Info(u"open", u"");
    EXPECT_FALSE(ShellExecuteExW(&empty));

    SHELLEXECUTEINFOW noVerb = Info(nullptr, u"-rf");
    ASSERT_TRUE(ShellExecuteExW(&noVerb));
    ReapShellChildren(true);
    EXPECT_EQ(TempDir::Read(m_log), "./-rf\n");  // never read as an option

    SetShellLauncher(m_dir.File("missing-launcher").c_str());
    SHELLEXECUTEINFOW missing = Info(u"open", u"http://example.test/");
    EXPECT_FALSE(ShellExecuteExW(&missing));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}
