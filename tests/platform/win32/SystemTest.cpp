#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <fstream>

#include "base/WideString.h"
#include "platform/win32/Win32MessageBox.h"
#include "platform/win32/Win32System.h"
#include "tests/platform/PlatformTestHelpers.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

namespace {

class SystemTest : public PlatformTest {};

bool IsFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

TEST_F(SystemTest, MoveFileNeverReplacesAnExistingTarget)
{
    TempDir dir;
    dir.Write("Save/App.options.sav", "old naming");
    dir.Write("Save/App.v1.options.sav", "current");
    std::u16string from = dir.WideFile("Save/App.options.sav");
    std::u16string to = dir.WideFile("Save/App.v1.options.sav");
    EXPECT_FALSE(MoveFileW(from.c_str(), to.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(TempDir::Read(dir.File("Save/App.v1.options.sav")), "current");
    EXPECT_EQ(TempDir::Read(dir.File("Save/App.options.sav")), "old naming");

    std::u16string fresh = Utf8ToUtf16(dir.Path() + "\\save\\App.v1.profile.sav");  // '\' and another case
    EXPECT_TRUE(MoveFileW(from.c_str(), fresh.c_str()));
    EXPECT_EQ(TempDir::Read(dir.File("Save/App.v1.profile.sav")), "old naming");
    EXPECT_FALSE(MoveFileW(from.c_str(), to.c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(SystemTest, CreateDirectoryReportsExistingAndMissingParents)
{
    TempDir dir;
    std::u16string folder = Utf8ToUtf16(dir.Path() + "\\Kvo Adventure\\");
    EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_TRUE(IsFolder(dir.File("Kvo Adventure")));
    EXPECT_FALSE(CreateDirectoryW(Utf8ToUtf16(dir.Path() + "/kvo adventure").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_FALSE(CreateDirectoryW(Utf8ToUtf16(dir.Path() + "/missing/child").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(SystemTest, AppDataFallsBackToTheXdgDataHome)
{
    char16_t buffer[260];
    {
        ScopedEnv appData("APPDATA", "/tmp/appdata");
        EXPECT_EQ(GetEnvironmentVariableW(u"APPDATA", buffer, 260), 12u);
        EXPECT_EQ(std::u16string(buffer), u"/tmp/appdata");
        EXPECT_EQ(GetEnvironmentVariableW(u"APPDATA", buffer, 5), 13u);  // too small: size needed
    }
    ScopedEnv appData("APPDATA", nullptr);
    {
        ScopedEnv dataHome("XDG_DATA_HOME", "/tmp/xdg");
        ASSERT_GT(GetEnvironmentVariableW(u"APPDATA", buffer, 260), 0u);
        EXPECT_EQ(std::u16string(buffer), u"/tmp/xdg");
    }
    ScopedEnv dataHome("XDG_DATA_HOME", "relative/is/ignored");
    {
        ScopedEnv home("HOME", "/home/player");
        ASSERT_GT(GetEnvironmentVariableW(u"APPDATA", buffer, 260), 0u);
        EXPECT_EQ(std::u16string(buffer), u"/home/player/.local/share");
    }
    // Without HOME, the home folder of the password database, as the XDG rules fall back.
    for (const char* unset : {static_cast<const char*>(nullptr), ""}) {
        ScopedEnv home("HOME", unset);
        const passwd* user = getpwuid(getuid());
        ASSERT_TRUE(user && user->pw_dir);
        ASSERT_GT(GetEnvironmentVariableW(u"APPDATA", buffer, 260), 0u);
        EXPECT_EQ(Utf16ToUtf8(buffer), std::string(user->pw_dir) + "/.local/share");
    }
    ScopedEnv other("VD_SURELY_UNSET", nullptr);
    EXPECT_EQ(GetEnvironmentVariableW(u"VD_SURELY_UNSET", buffer, 260), 0u);
    EXPECT_EQ(GetLastError(), ERROR_ENVVAR_NOT_FOUND);
}

TEST_F(SystemTest, LocalesMapToWindowsLanguageIds)
{
    EXPECT_EQ(LangIdFromLocale("fr_FR.UTF-8"), 1036);
    EXPECT_EQ(LangIdFromLocale("fr_CA.UTF-8"), 3084);
    EXPECT_EQ(LangIdFromLocale("fr"), 1036);
    EXPECT_EQ(LangIdFromLocale("es_ES.UTF-8"), 3082);
    EXPECT_EQ(LangIdFromLocale("es_AR"), 11274);
    EXPECT_EQ(LangIdFromLocale("de_AT.UTF-8@euro"), 3079);
    EXPECT_EQ(LangIdFromLocale("ja_JP.UTF-8"), 1041);
    EXPECT_EQ(LangIdFromLocale("zh_TW.UTF-8"), 1028);
    EXPECT_EQ(LangIdFromLocale("zh_CN.UTF-8"), 2052);
    EXPECT_EQ(LangIdFromLocale("ko_KR.UTF-8"), 1042);
    EXPECT_EQ(LangIdFromLocale("ru_RU.UTF-8"), 1049);
    EXPECT_EQ(LangIdFromLocale("nl_NL.UTF-8"), 1043);
    EXPECT_EQ(LangIdFromLocale("nl_BE.UTF-8"), 2067);
    EXPECT_EQ(LangIdFromLocale("pt_BR.UTF-8"), 1046);
    EXPECT_EQ(LangIdFromLocale("pt_PT.UTF-8"), 2070);
    EXPECT_EQ(LangIdFromLocale("sv_SE.UTF-8"), 1053);
    EXPECT_EQ(LangIdFromLocale("it_IT.UTF-8"), 1040);
    EXPECT_EQ(LangIdFromLocale("C"), 1033);
    EXPECT_EQ(LangIdFromLocale("POSIX"), 1033);
    EXPECT_EQ(LangIdFromLocale("xx_YY"), 1033);
    EXPECT_EQ(LangIdFromLocale(nullptr), 1033);

    ScopedEnv all("LC_ALL", nullptr);
    ScopedEnv messages("LC_MESSAGES", "de_DE.UTF-8");
    ScopedEnv lang("LANG", "fr_FR.UTF-8");
    EXPECT_EQ(GetSystemDefaultLangID(), 1031);
    ScopedEnv allSet("LC_ALL", "it_CH.UTF-8");
    EXPECT_EQ(GetSystemDefaultLangID(), 2064);
}

TEST_F(SystemTest, LocalTimeIsTheCalendarNow)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    time_t seconds = time(nullptr);
    tm local;
    localtime_r(&seconds, &local);
    EXPECT_EQ(now.wYear, local.tm_year + 1900);
    EXPECT_EQ(now.wMonth, local.tm_mon + 1);
    EXPECT_GE(now.wDay, 1);
    EXPECT_LE(now.wHour, 23);
    EXPECT_LT(now.wMilliseconds, 1000);
}

TEST_F(SystemTest, HeadlessMessageBoxReturnsAtOnceAndPrintsItsText)
{
    SetHeadless(true);
    testing::internal::CaptureStderr();
    int pressed = MessageBoxW(nullptr, u"The Data path is unreachable.\n\nThe application will now exit.",
                              u"Warning (v1,203)", MB_ICONWARNING | MB_SETFOREGROUND);
    int asked = MessageBoxW(nullptr, u"Again?", u"Question", MB_YESNO);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(pressed, IDOK);
    EXPECT_EQ(asked, IDYES);
    EXPECT_NE(printed.find("Warning (v1,203): The Data path is unreachable.\n\nThe application will now exit.\n"),
              std::string::npos);
    EXPECT_NE(printed.find("Question: Again?\n"), std::string::npos);
}

TEST_F(SystemTest, HeadlessSwitchFollowsTheEnvironment)
{
    {
        ScopedEnv headless("VD_HEADLESS", "1");
        ResetTestSwitches();
        EXPECT_TRUE(IsHeadless());
    }
    ScopedEnv headless("VD_HEADLESS", nullptr);
    ResetTestSwitches();
    EXPECT_FALSE(IsHeadless());
    SetHeadless(true);
    EXPECT_TRUE(IsHeadless());
}
