#include "base/FileSystem.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(FileSystem, NormalizeMapsSeparatorsAndCollapsesDots)
{
    EXPECT_EQ(NormalizePath("Data_full_Win32\\..\\App.log"), "App.log");
    EXPECT_EQ(NormalizePath("a\\b\\.\\c\\..\\d.png"), "a/b/d.png");
    EXPECT_EQ(NormalizePath("..\\x"), "../x");
    EXPECT_EQ(NormalizePath("/a/../../b"), "/b");
    EXPECT_EQ(NormalizePath("Data\\"), "Data/");
    EXPECT_EQ(NormalizePath(".."), "..");
}

TEST(FileSystem, FallsBackToCaseInsensitiveMatchPerComponent)
{
    TempDir dir;
    dir.Write("Data_Full_Win32/Images/Room.PNG", "png");
    std::string wanted = dir.Path() + "\\data_full_win32\\IMAGES\\room.png";
    EXPECT_EQ(ResolvePath(wanted), dir.File("Data_Full_Win32/Images/Room.PNG"));
    FILE* file = OpenFile(Utf8ToUtf16(wanted).c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(FileSizeOf(file), 3);
    fclose(file);
}

TEST(FileSystem, ExactNameWinsAndNewFilesKeepTheirSpelling)
{
    TempDir dir;
    dir.Write("Save/a.txt", "lower");
    dir.Write("Save/A.txt", "upper");
    EXPECT_EQ(TempDir::Read(ResolvePath(dir.Path() + "/SAVE/A.txt")), "upper");
    EXPECT_EQ(ResolvePath(dir.Path() + "/save/New.sav"), dir.File("Save/New.sav"));
    EXPECT_EQ(ResolvePath(dir.Path() + "/missing/Sub/x"), dir.File("missing/Sub/x"));
    EXPECT_FALSE(FileExists(dir.WideFile("nothing").c_str()));
    EXPECT_EQ(OpenFile(static_cast<const char16_t*>(nullptr), "rb"), nullptr);
    EXPECT_EQ(OpenFile(u"", "rb"), nullptr);
}

TEST(FileSystem, MissingFolderBeforeDotDotStillResolves)
{
    TempDir dir;
    std::string path = dir.Path() + "\\NoSuchFolder\\..\\out.log";
    FILE* file = OpenFile(path.c_str(), "a");
    ASSERT_NE(file, nullptr);
    fclose(file);
    EXPECT_EQ(TempDir::Read(dir.File("out.log")), "");
}
