#include "core/PackerFile.h"
#include "base/WideString.h"
#include "tests/support/PakTestFile.h"
#include "tools/PakIndex.h"
#include "tools/PakTool.h"
#include "tools/PakWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Two entries worked out by hand: sizes little-endian, names XORed with 21 8E 3C 5A 21...,
// "a.dat" before "B.txt" because names sort with letters folded ('A' < 'B', though 'B' < 'a').
std::string HandMadePak()
{
    const unsigned char aDat[] = {
        0x03, 0x00, 0x00, 0x00,        // data size 3
        0x05, 0x00, 0x00, 0x00,        // name size 5
        0x40, 0xA0, 0x58, 0x3B, 0x55,  // "a.dat": 61^21 2E^8E 64^3C 61^5A 74^21
        'x', 'y', 'z',
    };
    const unsigned char bTxtHeader[] = {
        0x02, 0x01, 0x00, 0x00,        // data size 258
        0x05, 0x00, 0x00, 0x00,        // name size 5
        0x63, 0xA0, 0x48, 0x22, 0x55,  // "B.txt": 42^21 2E^8E 74^3C 78^5A 74^21
    };
    return std::string(reinterpret_cast<const char*>(aDat), sizeof aDat) +
           std::string(reinterpret_cast<const char*>(bTxtHeader), sizeof bTxtHeader) + std::string(258, 'q');
}

TEST(PakWriter, WritesTheLayoutByteForByte)
{
    CPakWriter writer;
    ASSERT_EQ(writer.Add("B.txt", std::string(258, 'q')), RES_OK);
    ASSERT_EQ(writer.Add("a.dat", "xyz"), RES_OK);
    EXPECT_EQ(writer.Bytes(), HandMadePak());
}

TEST(PakWriter, ToolPacksAFolderByteForByte)
{
    TempDir source;
    source.Write("in/B.txt", std::string(258, 'q'));
    source.Write("in/a.dat", "xyz");
    std::string error;
    ASSERT_EQ(PackInputs(source.File("out.pak"), {source.File("in")}, &error), RES_OK) << error;
    EXPECT_EQ(TempDir::Read(source.File("out.pak")), HandMadePak());
}

TEST(PakWriter, SortsSoNoNameIsShadowedByALongerOne)
{
    CPakWriter writer;
    for (const char* name : {"abc", "ABD", "ab", "a", "b/c", "B"})
        ASSERT_EQ(writer.Add(name, name), RES_OK) << writer.LastError();
    TempDir dir;
    ASSERT_EQ(writer.Write(dir.File("sorted.pak")), RES_OK);

    std::vector<PakIndexEntry> entries;
    ASSERT_EQ(ReadPakIndex(dir.File("sorted.pak"), 0, &entries, nullptr), RES_OK);
    std::vector<std::string> names;
    for (const PakIndexEntry& entry : entries)
        names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "ab", "abc", "ABD", "B", "b/c"}));

    PakTestFile pak(writer.Bytes());
    for (const std::string& name : names) {
        std::u16string wide = Utf8ToUtf16(name);
        ASSERT_EQ(FindPackerEntry(wide.c_str(), pak.Record()), RES_OK) << name;
        EXPECT_EQ(pak.ReadHere(pak.Record()->foundSize), name) << "each name reaches its own entry";
    }
}

TEST(PakWriter, RefusesDuplicatesAndUnreachableNames)
{
    CPakWriter writer;
    ASSERT_EQ(writer.Add("Read.me", "1"), RES_OK);
    EXPECT_EQ(writer.Add("READ.ME", "2"), RES_FAIL);
    EXPECT_NE(writer.LastError().find("duplicate"), std::string::npos) << writer.LastError();
    EXPECT_EQ(writer.Add("", "x"), RES_FAIL);
    EXPECT_EQ(writer.Add(std::string(kPakMaxWantedName + 1, 'n'), "x"), RES_FAIL);
    EXPECT_EQ(writer.Add("caf\xc3\xa9.txt", "x"), RES_FAIL);
    EXPECT_EQ(writer.Add(std::string("a\0b", 3), "x"), RES_FAIL);
    EXPECT_EQ(writer.AddFile("missing", "/nonexistent/file"), RES_FAIL);
    EXPECT_EQ(writer.Add(std::string(kPakMaxWantedName, 'n'), "x"), RES_OK);
    EXPECT_EQ(writer.Count(), 2u);
}

TEST(PakIndex, TruncatedPakKeepsTheEntriesBeforeTheDamage)
{
    std::string whole = HandMadePak();
    TempDir dir;
    std::string cut = dir.Write("cut.pak", whole.substr(0, whole.size() - 1));
    std::vector<PakIndexEntry> entries;
    std::string error;
    EXPECT_EQ(ReadPakIndex(cut, 0, &entries, &error), RES_FAIL);
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "a.dat");
    EXPECT_EQ(entries[0].dataOffset, 13u);

    std::string header = dir.Write("header.pak", whole.substr(0, 16 + 4));
    EXPECT_EQ(ReadPakIndex(header, 0, &entries, &error), RES_FAIL);
    EXPECT_EQ(ReadPakIndex(dir.File("none.pak"), 0, &entries, &error), RES_FAIL);
}

} // namespace
