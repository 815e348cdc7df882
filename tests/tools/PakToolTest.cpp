#include "core/PackerFile.h"
#include "tests/support/PakTestFile.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"
#include "tools/PakTool.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class PakToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir.Write("data/VadadiDazidev.ini", "[PATH]\n");
        m_dir.Write("data/fonts/Main.glyph", "glyph");
        m_dir.Write("data/strings/_strings.en.raw", std::string("\0\1\2", 3));
        m_dir.Write("loose.txt", "loose");
    }
    int Run(std::vector<const char*> args) { return RunTool(RunPakTool, "vdpak", args, &m_outText, &m_errText); }
    TempDir m_dir;
    std::string m_outText;
    std::string m_errText;
};

TEST_F(PakToolTest, PacksFoldersAndFilesThenListsThem)
{
    std::string pak = m_dir.File("data/out.pak");
    ASSERT_EQ(Run({"pack", pak.c_str(), m_dir.File("data").c_str(), m_dir.File("loose.txt").c_str()}), 0) << m_errText;
    ASSERT_EQ(Run({"pack", pak.c_str(), m_dir.File("data").c_str(), m_dir.File("loose.txt").c_str()}), 0)
        << "the pak inside the packed folder is not packed into itself";
    ASSERT_EQ(Run({"list", pak.c_str()}), 0) << m_errText;
    EXPECT_EQ(m_outText, "5  fonts/Main.glyph\n5  loose.txt\n3  strings/_strings.en.raw\n7  VadadiDazidev.ini\n");
}

TEST_F(PakToolTest, ExtractsEverythingOrTheNamedEntries)
{
    std::string pak = m_dir.File("out.pak");
    ASSERT_EQ(Run({"pack", pak.c_str(), m_dir.File("data").c_str()}), 0) << m_errText;

    ASSERT_EQ(Run({"extract", pak.c_str(), m_dir.File("all").c_str()}), 0) << m_errText;
    EXPECT_EQ(TempDir::Read(m_dir.File("all/fonts/Main.glyph")), "glyph");
    EXPECT_EQ(TempDir::Read(m_dir.File("all/strings/_strings.en.raw")), std::string("\0\1\2", 3));

    ASSERT_EQ(Run({"extract", pak.c_str(), m_dir.File("one").c_str(), "FONTS/main.GLYPH"}), 0) << m_errText;
    EXPECT_TRUE(std::filesystem::exists(m_dir.File("one/fonts/Main.glyph")));
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("one/VadadiDazidev.ini")));

    EXPECT_EQ(Run({"extract", pak.c_str(), m_dir.File("none").c_str(), "fonts"}), 1) << "names are whole, not prefixes";
    EXPECT_NE(m_errText.find("vdpak: no entry named fonts"), std::string::npos) << m_errText;
}

TEST_F(PakToolTest, ExtractRefusesNamesThatLeaveTheFolderOrHoldNul)
{
    for (const char* name : {"../evil.txt", "a/../../evil.txt", "/tmp/evil.txt", "..\\evil.txt"}) {
        std::string pak = m_dir.Write("bad.pak", PakEntryBytes(name, "evil"));
        std::string error;
        EXPECT_EQ(ExtractPak(pak, m_dir.File("out"), {}, &error), RES_FAIL) << name;
        EXPECT_NE(error.find("outside"), std::string::npos) << error;
    }
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("evil.txt")));
    const std::string pak = m_dir.Write("nul.pak", PakEntryBytes(std::string("cut\0short.txt", 13), "data"));
    std::string error;
    EXPECT_EQ(ExtractPak(pak, m_dir.File("out"), {}, &error), RES_FAIL);
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("out/cut"))) << error;
}

TEST_F(PakToolTest, ReportsBadUsageAndFailures)
{
    EXPECT_EQ(Run({}), 2);
    EXPECT_NE(m_errText.find("usage: vdpak"), std::string::npos);
    EXPECT_EQ(Run({"pack", m_dir.File("x.pak").c_str()}), 2);
    EXPECT_EQ(Run({"list", m_dir.File("x.pak").c_str(), "extra"}), 2);
    EXPECT_EQ(Run({"shuffle", m_dir.File("x.pak").c_str()}), 2);

    EXPECT_EQ(Run({"pack", m_dir.File("x.pak").c_str(), m_dir.File("missing").c_str()}), 1);
    EXPECT_NE(m_errText.find("no such file or folder"), std::string::npos) << m_errText;
    m_dir.Write("other/VADADIDAZIDEV.INI", "dup");
    EXPECT_EQ(Run({"pack", m_dir.File("x.pak").c_str(), m_dir.File("data").c_str(), m_dir.File("other").c_str()}), 1);
    EXPECT_NE(m_errText.find("duplicate entry name"), std::string::npos) << m_errText;
    EXPECT_EQ(Run({"list", m_dir.File("x.pak").c_str()}), 1) << "no pak was left behind";
}

TEST_F(PakToolTest, ListShowsWhatPrecedesTheDamage)
{
    std::string pak = m_dir.Write("cut.pak", PakEntryBytes("first", "1") + PakEntryBytes("second", "22").substr(0, 10));
    EXPECT_EQ(Run({"list", pak.c_str()}), 1);
    EXPECT_EQ(m_outText, "1  first\n");
    EXPECT_NE(m_errText.find("truncated"), std::string::npos) << m_errText;
}

} // namespace
