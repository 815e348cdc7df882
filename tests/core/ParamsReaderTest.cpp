#include "core/ParamsReader.h"
#include "base/WideString.h"
#include "tests/support/PakTestFile.h"
#include "tools/PakWriter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

namespace {

constexpr uint32_t kOutUnits = 64;

struct ParseCase {
    const char* what;
    std::string text;
    const char16_t* section;
    const char16_t* key;
    bool found;
    std::u16string value;
};

std::string S(const char* bytes, size_t length)
{
    return std::string(bytes, length);
}

const ParseCase kParseCases[] = {
    {"plain key", "[WORLD]\nWIDTH = 800\n", u"WORLD", u"WIDTH", true, u"800"},
    {"last line without a line feed", "[WORLD]\nWIDTH = 800", u"WORLD", u"WIDTH", false, u""},
    {"sections are case-sensitive", "[world]\nWIDTH=1\n", u"WORLD", u"WIDTH", false, u""},
    {"keys are case-sensitive", "[A]\nwidth=1\n", u"A", u"WIDTH", false, u""},
    {"blanks and a comment around a section", "  [WORLD]   ; note\nK=1\n", u"WORLD", u"K", true, u"1"},
    {"blanks inside the brackets", "[ SEC TION ]\nK=1\n", u"SECTION", u"K", true, u"1"},
    {"several opening brackets", "[[A]]\nK=1\n", u"A", u"K", true, u"1"},
    {"text after the bracket", "[A] more text\nK=1\n", u"A", u"K", true, u"1"},
    {"section without closing bracket", "[A\nK=1\n", u"A", u"K", false, u""},
    {"longer section name", "[AB]\nK=1\n", u"A", u"K", false, u""},
    {"first section of a name only", "[A]\nX=1\n[B]\nK=2\n[A]\nK=3\n", u"A", u"K", false, u""},
    {"first matching key wins", "[A]\nK=1\nK=2\n", u"A", u"K", true, u"1"},
    {"first matching section wins", "[A]\nK=1\n[A]\nK=2\n", u"A", u"K", true, u"1"},
    {"next section ends the search", "[A]\n[B]\nK=1\n", u"A", u"K", false, u""},
    {"keys before any section are not seen", "K=0\n[A]\nK=1\n", u"A", u"K", true, u"1"},
    {"empty value", "[A]\nK =   \n", u"A", u"K", true, u""},
    {"comment lines and a commented key", "[A]\n;K=1\n//K=2\nK;=3\n  ; K=4\nK=5\n", u"A", u"K", true, u"5"},
    {"trailing comment kept in the value", "[A]\nK = 1 ; note\n", u"A", u"K", true, u"1 ; note"},
    {"trailing blanks kept", "[A]\n\tK\t=\t7\t\n", u"A", u"K", true, u"7\t"},
    {"blanks inside the key", "[A]\nMAX SIZE = 4\n", u"A", u"MAXSIZE", true, u"4"},
    {"dash underline is no key", "[A]\n-----\nK=1\n", u"A", u"K", true, u"1"},
    {"longer key does not match", "[A]\nKK=1\nK=2\n", u"A", u"K", true, u"2"},
    {"shorter key does not match", "[A]\nK=1\n", u"A", u"KK", false, u""},
    {"equals sign inside the value", "[A]\nK=a=b\n", u"A", u"K", true, u"a=b"},
    {"blank lines", "[A]\n\n\n  \nK=1\n", u"A", u"K", true, u"1"},
    {"CR LF line ends", "[A]\r\nK=1\r\n", u"A", u"K", true, u"1"},
    {"CR line ends", "[A]\rK=1\r", u"A", u"K", true, u"1"},
    {"NUL line ends", S("[A]\0K=1\0", 8), u"A", u"K", true, u"1"},
    {"high bytes widen to Latin-1", "[A]\nK=caf\xe9\n", u"A", u"K", true, u"caf\u00e9"},
    {"indented section line does not end the section", "[A]\n  [B]\nK=1\n", u"A", u"K", true, u"1"},
    {"empty section name", "[]\nK=1\n", u"", u"K", false, u""},
    {"empty key", "[A]\n=1\n", u"A", u"", false, u""},
    {"null section", "[A]\nK=1\n", nullptr, u"K", false, u""},
};

TEST(ParamsReader, ParsesTheTableOfCases)
{
    for (const ParseCase& c : kParseCases) {
        CParamsText reader(c.text.data(), static_cast<uint32_t>(c.text.size()));
        char16_t out[kOutUnits] = u"untouched";
        Result result = reader.GetString(c.section, c.key, u"default", out, kOutUnits);
        EXPECT_EQ(result, c.found ? RES_OK : RES_FAIL) << c.what;
        EXPECT_EQ(std::u16string(out), c.found ? c.value : u"default") << c.what;
    }
}

TEST(ParamsReader, FindValueGivesTheLineAndTheEqualsIndex)
{
    std::string text = "[A]\n  K = 5\n";
    CParamsText reader(text.data(), static_cast<uint32_t>(text.size()));
    char16_t line[kParamsLineUnits];
    uint32_t equals = 0;
    ASSERT_TRUE(reader.FindValue(text.data(), static_cast<uint32_t>(text.size()), u"A", u"K", &equals, line));
    EXPECT_EQ(equals, 4u);
    EXPECT_EQ(std::u16string(line), u"  K = 5\n");
}

TEST(ParamsReader, EmptyReaderAnswersDefaults)
{
    CParamsText empty(nullptr, 0);
    CParamsText nullWithLength(nullptr, 100);
    std::string text = "[A]\nK=1\n";
    CParamsText zeroLength(text.data(), 0);
    for (const CParamsText* reader : {&empty, &nullWithLength, &zeroLength}) {
        EXPECT_EQ(reader->GetU32(u"A", u"K", 9), 9u);
        EXPECT_EQ(reader->GetBool(u"A", u"K", 1), 1);
        EXPECT_DOUBLE_EQ(reader->GetFloat(u"A", u"K", 2.5f), 2.5);
    }
}

TEST(ParamsReader, IntegerGettersConvertLikeAtoi)
{
    std::string text =
        "[N]\nTWO=2\nWORD=true\nEMPTY=\nMINUS=-1\nBIG=300\nWIDE=70000\nCOMMENT=1 // note\nPLUS=+12abc\n"
        "HUGE=99999999999\nTINY=-99999999999\nLONG=0000000000000000000123\nZERO=0\n";
    CParamsText reader(text.data(), static_cast<uint32_t>(text.size()));
    EXPECT_EQ(reader.GetBool(u"N", u"TWO", 0), 1);
    EXPECT_EQ(reader.GetBool(u"N", u"WORD", 1), 0);
    EXPECT_EQ(reader.GetBool(u"N", u"EMPTY", 1), 1);
    EXPECT_EQ(reader.GetBool(u"N", u"ZERO", 1), 0);
    EXPECT_EQ(reader.GetBool(u"N", u"MISSING", 1), 1);
    EXPECT_EQ(reader.GetU8(u"N", u"MINUS", 0), 255);
    EXPECT_EQ(reader.GetU8(u"N", u"BIG", 0), 44);
    EXPECT_EQ(reader.GetU16(u"N", u"WIDE", 0), 70000 & 0xFFFF);
    EXPECT_EQ(reader.GetU16(u"N", u"EMPTY", 7), 7);
    EXPECT_EQ(reader.GetU32(u"N", u"MINUS", 0), 0xFFFFFFFFu);
    EXPECT_EQ(reader.GetU32(u"N", u"COMMENT", 0), 1u);
    EXPECT_EQ(reader.GetU32(u"N", u"PLUS", 0), 12u);
    EXPECT_EQ(reader.GetU32(u"N", u"HUGE", 0), 0x7FFFFFFFu);
    EXPECT_EQ(reader.GetU32(u"N", u"TINY", 0), 0x80000000u);
    EXPECT_EQ(reader.GetU32(u"N", u"LONG", 5), 0u) << "only the first 19 characters take part";
    EXPECT_EQ(reader.GetU32(u"N", u"EMPTY", 5), 5u);
}

TEST(ParamsReader, FloatGettersConvertLikeAtof)
{
    std::string text = "[F]\nHALF=1.5\nEXP=2.5e2\nWORD=abc\nEMPTY=\nTENTH=0.1\nNEG=-0.00001 // note\n";
    CParamsText reader(text.data(), static_cast<uint32_t>(text.size()));
    EXPECT_DOUBLE_EQ(reader.GetFloat(u"F", u"HALF", 0.0f), 1.5);
    EXPECT_DOUBLE_EQ(reader.GetFloat(u"F", u"EXP", 0.0f), 250.0);
    EXPECT_DOUBLE_EQ(reader.GetFloat(u"F", u"WORD", 3.0f), 0.0);
    EXPECT_DOUBLE_EQ(reader.GetFloat(u"F", u"EMPTY", 3.0f), 3.0);
    EXPECT_EQ(reader.GetFloat(u"F", u"TENTH", 0.0f), 0.1) << "double precision, not rounded to float";
    EXPECT_EQ(reader.GetFloat(u"F", u"MISSING", 0.1f), static_cast<double>(0.1f));
    EXPECT_DOUBLE_EQ(reader.GetDouble(u"F", u"NEG", 0.0), -0.00001);
    EXPECT_DOUBLE_EQ(reader.GetDouble(u"F", u"MISSING", 4.25), 4.25);
}

// Builds a locale whose decimal separator is a comma into a temporary folder, when the system can.
bool UseCommaDecimalLocale(const TempDir& dir)
{
    std::string command = "localedef -i de_DE -f UTF-8 " + dir.File("de_DE.UTF-8") + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return false;
    setenv("LOCPATH", dir.Path().c_str(), 1);
    bool set = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    unsetenv("LOCPATH");
    return set && std::localeconv()->decimal_point[0] == ',';
}

TEST(ParamsReader, NumbersDoNotDependOnTheProcessLocale)
{
    TempDir dir;
    if (!UseCommaDecimalLocale(dir))
        GTEST_SKIP() << "no comma-decimal locale can be built here";
    std::string text = "[F]\nHALF=1.5\nCOMMA=1,5\n";
    CParamsText reader(text.data(), static_cast<uint32_t>(text.size()));
    double half = reader.GetFloat(u"F", u"HALF", 0.0f);
    double comma = reader.GetDouble(u"F", u"COMMA", 0.0);
    std::setlocale(LC_ALL, "C");
    EXPECT_DOUBLE_EQ(half, 1.5);
    EXPECT_DOUBLE_EQ(comma, 1.0);
}

TEST(ParamsReader, GetStringCopiesBoundedAndNullDefaultGivesEmpty)
{
    std::string text = "[A]\nK=abcdef\n";
    CParamsText reader(text.data(), static_cast<uint32_t>(text.size()));
    char16_t out[8] = u"xxxxxxx";
    EXPECT_EQ(reader.GetString(u"A", u"K", nullptr, out, 4), RES_OK);
    EXPECT_EQ(std::u16string(out), u"abc");
    EXPECT_EQ(out[4], u'x') << "nothing written past the capacity";

    EXPECT_EQ(reader.GetString(u"A", u"MISSING", nullptr, out, 8), RES_FAIL);
    EXPECT_EQ(std::u16string(out), u"");

    char16_t untouched[2] = {u'z', 0};
    EXPECT_EQ(reader.GetString(u"A", u"K", u"d", untouched, 0), RES_OK);
    EXPECT_EQ(untouched[0], u'z');
    EXPECT_EQ(reader.GetString(u"A", u"K", u"d", nullptr, 8), RES_OK);
}

TEST(ParamsReader, GetPathJoinsPrefixAndFallsBackToTheDefault)
{
    std::string text = "[P]\nFILE = fonts/main.ttf\nEMPTY =\n";
    CParamsText reader(text.data(), static_cast<uint32_t>(text.size()));
    char16_t out[kOutUnits] = u"";

    EXPECT_EQ(reader.GetPath(u"P", u"FILE", u"d.png", out, kOutUnits, nullptr), RES_OK);
    EXPECT_EQ(std::u16string(out), u"fonts/main.ttf");
    EXPECT_EQ(reader.GetPath(u"P", u"FILE", u"d.png", out, kOutUnits, u"Data\\"), RES_OK);
    EXPECT_EQ(std::u16string(out), u"Data\\fonts/main.ttf");

    EXPECT_EQ(reader.GetPath(u"P", u"EMPTY", u"d.png", out, kOutUnits, u"Data\\"), RES_FAIL);
    EXPECT_EQ(std::u16string(out), u"Data\\d.png");
    EXPECT_EQ(reader.GetPath(u"P", u"MISSING", u"d.png", out, kOutUnits, nullptr), RES_FAIL);
    EXPECT_EQ(std::u16string(out), u"d.png");

    WStrCopy(out, kOutUnits, u"kept");
    EXPECT_EQ(reader.GetPath(u"P", u"MISSING", nullptr, out, kOutUnits, u"Data\\"), RES_FAIL);
    EXPECT_EQ(reader.GetPath(u"P", u"EMPTY", u"", out, kOutUnits, u"Data\\"), RES_FAIL);
    EXPECT_EQ(std::u16string(out), u"kept");

    EXPECT_EQ(reader.GetPath(u"P", u"MISSING", out, out, kOutUnits, u"x/"), RES_FAIL);
    EXPECT_EQ(std::u16string(out), u"x/kept") << "the default may be the output itself";

    char16_t small[8];
    small[7] = u'#';
    EXPECT_EQ(reader.GetPath(u"P", u"FILE", nullptr, small, 7, u"Data\\"), RES_OK);
    EXPECT_EQ(std::u16string(small), u"Data\\f");
    EXPECT_EQ(small[7], u'#');
}

TEST(ParamsReader, SettersAlwaysFail)
{
    CParamsText reader(nullptr, 0);
    CParamsReader& base = reader;
    EXPECT_EQ(base.SetBool(u"A", u"K", 1), RES_FAIL);
    EXPECT_EQ(base.SetU8(u"A", u"K", 1), RES_FAIL);
    EXPECT_EQ(base.SetU16(u"A", u"K", 1), RES_FAIL);
    EXPECT_EQ(base.SetU32(u"A", u"K", 1), RES_FAIL);
    EXPECT_EQ(base.SetFloat(u"A", u"K", 1.0f), RES_FAIL);
    EXPECT_EQ(base.SetDouble(u"A", u"K", 1.0), RES_FAIL);
    EXPECT_EQ(base.SetString(u"A", u"K", u"v"), RES_FAIL);
}

TEST(ParamsReader, OverlongLineIsCutAndItsRestSkipped)
{
    std::string text = "[A]\n" + std::string(kParamsLineUnits - 2, 'Y') + "K=5\nK=6\n";
    CParamsText reader(text.data(), static_cast<uint32_t>(text.size()));
    EXPECT_EQ(reader.GetU32(u"A", u"K", 0), 6u) << "the tail of the long line is no line of its own";

    std::string value(kParamsLineUnits, 'v');
    std::string longValue = "[A]\nK=" + value + "\nNEXT=1\n";
    CParamsText cut(longValue.data(), static_cast<uint32_t>(longValue.size()));
    char16_t out[kParamsValueUnits];
    EXPECT_EQ(cut.GetString(u"A", u"K", nullptr, out, kParamsValueUnits), RES_OK);
    EXPECT_EQ(WStrLen(out), kParamsLineUnits - 4) << "the line keeps 4094 characters, two of them K=";
    EXPECT_EQ(cut.GetU32(u"A", u"NEXT", 0), 1u);

    std::string unended = "[A]\nK=1\n" + std::string(10000, 'z');
    CParamsText tail(unended.data(), static_cast<uint32_t>(unended.size()));
    EXPECT_EQ(tail.GetU32(u"A", u"K", 0), 1u);
}

TEST(PackedParams, ReadsTheWholeEntryFromThePak)
{
    CPakWriter writer;
    ASSERT_EQ(writer.Add("settings.ini", "[A]\nK=7\nS=text\n"), RES_OK);
    ASSERT_EQ(writer.Add("zero.ini", ""), RES_OK);
    PakTestFile pak(writer.Bytes());

    CPackedParams params(u"SETTINGS.INI", FindPackerEntry, pak.Record());
    EXPECT_EQ(params.Length(), 15u);
    EXPECT_EQ(params.GetU32(u"A", u"K", 0), 7u);
    char16_t out[kOutUnits];
    EXPECT_EQ(params.GetString(u"A", u"S", nullptr, out, kOutUnits), RES_OK);
    EXPECT_EQ(std::u16string(out), u"text");

    CPackedParams zero(u"zero.ini", FindPackerEntry, pak.Record());
    CPackedParams missing(u"other.ini", FindPackerEntry, pak.Record());
    CPackedParams noLookup(u"settings.ini", nullptr, pak.Record());
    CPackedParams noPak(u"settings.ini", FindPackerEntry, nullptr);
    for (const CPackedParams* empty : {&zero, &missing, &noLookup, &noPak}) {
        EXPECT_EQ(empty->Length(), 0u);
        EXPECT_EQ(empty->GetU32(u"A", u"K", 3), 3u);
    }
}

Result ClaimTooMuch(const char16_t* name, CPackerFile* pak)
{
    Result found = FindPackerEntry(name, pak);
    pak->foundSize += 100;
    return found;
}

TEST(PackedParams, ShortReadAnswersDefaults)
{
    CPakWriter writer;
    ASSERT_EQ(writer.Add("a.ini", "[A]\nK=7\n"), RES_OK);
    PakTestFile pak(writer.Bytes());
    CPackedParams params(u"a.ini", ClaimTooMuch, pak.Record());
    EXPECT_EQ(params.Length(), 0u);
    EXPECT_EQ(params.GetU32(u"A", u"K", 3), 3u);
}

} // namespace
