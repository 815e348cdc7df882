#include "base/StringHelpers.h"

#include <gtest/gtest.h>

#include <string>

TEST(StringHelpers, FileNameParts)
{
    EXPECT_EQ(std::u16string(GetFileExtension(u"a.b.png")), u".png");
    EXPECT_EQ(std::u16string(GetFileExtension(u"noext")), u"");
    EXPECT_EQ(std::u16string(GetFileExtension(nullptr)), u"");
    EXPECT_EQ(std::u16string(GetFileNamePart(u"a\\b/c")), u"b/c");
    EXPECT_EQ(std::u16string(GetFileNamePart(u"a/b/c.png")), u"c.png");
    EXPECT_EQ(std::u16string(GetFileNamePart(u"c.png")), u"c.png");
    EXPECT_EQ(GetFileNamePart(static_cast<const char16_t*>(nullptr)), nullptr);

    char16_t folder[8], name[16], base[8], ext[8];
    SplitPath(u"Data\\Room.png", folder, 8, name, 16);
    EXPECT_EQ(std::u16string(folder), u"Data\\");
    EXPECT_EQ(std::u16string(name), u"Room.png");
    SplitExtension(u"Room.png", base, 8, ext, 8);
    EXPECT_EQ(std::u16string(base), u"Room");
    EXPECT_EQ(std::u16string(ext), u".png");
    SplitPath(u"VeryLongFolderName\\x", folder, 8, name, 16);
    EXPECT_EQ(std::u16string(folder), u"VeryLon");
}

TEST(StringHelpers, CutCompareReplaceCount)
{
    char16_t text[] = u"a/b/c";
    char16_t* cut = CutAtLastChar(text, u'/');
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut - text, 3);
    EXPECT_EQ(std::u16string(text), u"a/b");
    EXPECT_EQ(CutAtLastChar(text, u'x'), nullptr);

    EXPECT_TRUE(EqualNoCase(u"Room.PNG", u"room.png"));
    EXPECT_FALSE(EqualNoCase(u"room", u"room.png"));
    EXPECT_TRUE(EqualNoCase(u"", u""));
    EXPECT_FALSE(EqualNoCase(u"\u00e9", u"\u00c9"));

    char16_t path[] = u"a\\b\\c";
    EXPECT_EQ(ReplaceChar(path, u'\\', u'/'), 2u);
    EXPECT_EQ(std::u16string(path), u"a/b/c");
    EXPECT_EQ(CountChar(path, u'/'), 2u);
    EXPECT_EQ(StrLen8("abc"), 3u);
}

TEST(StringHelpers, InvertNarrowWiden)
{
    char16_t account[] = u"user\u00e9";
    InvertString(account);
    EXPECT_EQ(account[0], static_cast<char16_t>(~u'u'));
    InvertString(account);
    EXPECT_EQ(std::u16string(account), u"user\u00e9");

    char narrow[4];
    NarrowString(u"\u0141bcdef", narrow, sizeof(narrow));
    EXPECT_EQ(std::string(narrow), "Abc");
    char16_t wide[4];
    WidenString("a\xe9", wide, 4);
    EXPECT_EQ(wide[0], u'a');
    EXPECT_EQ(wide[1], 0xFFE9);
    EXPECT_EQ(wide[2], 0);
    WidenString("abcdef", wide, 4);
    EXPECT_EQ(std::u16string(wide), u"abc");
}
