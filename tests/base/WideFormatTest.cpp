#include "base/WideFormat.h"
#include "base/WideString.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

std::u16string Format(size_t capacity, const char16_t* format, ...)
{
    std::u16string buffer(capacity, u'\xAAAA');
    va_list args;
    va_start(args, format);
    size_t n = WFormatV(buffer.data(), capacity, format, args);
    va_end(args);
    EXPECT_EQ(buffer[n], 0);
    return buffer.substr(0, n);
}

} // namespace

TEST(WideFormat, StringConversionsFollowWindowsWidePrintf)
{
    EXPECT_EQ(Format(64, u"[%s|%S]", u"wide\u00e9", "narrow"), u"[wide\u00e9|narrow]");
    EXPECT_EQ(Format(64, u"%hs %ls %ws", "h", u"l", u"w"), u"h l w");
    EXPECT_EQ(Format(64, u"%c%C%lc%hc", u'\u00e9', 'x', u'y', 'z'), u"\u00e9xyz");
    EXPECT_EQ(Format(64, u"%-5s|%5S|%.2s", u"ab", "cd", u"efgh"), u"ab   |   cd|ef");
    EXPECT_EQ(Format(64, u"%s", static_cast<const char16_t*>(nullptr)), u"(null)");
    // A text holding a percent sign is copied as it stands.
    EXPECT_EQ(Format(64, u"%s", u"100%d"), u"100%d");
}

TEST(WideFormat, NumbersWithWidthPrecisionAndPadding)
{
    EXPECT_EQ(Format(64, u"%d %i %u", -12, 34, 4000000000u), u"-12 34 4000000000");
    EXPECT_EQ(Format(64, u"%02d:%03d", 7, 5), u"07:005");
    EXPECT_EQ(Format(64, u"%x %X %08X", 255u, 0xabcu, 0x1234u), u"ff ABC 00001234");
    EXPECT_EQ(Format(64, u"%.02f %f %5.1f", 3.14159, 0.5, 2.25), u"3.14 0.500000   2.2");
    EXPECT_EQ(Format(64, u"%I64d %lld", -5000000000ll, 7ll), u"-5000000000 7");
    EXPECT_EQ(Format(64, u"%*d|%-*d|", 4, 1, 3, 2), u"   1|2  |");
    EXPECT_EQ(Format(64, u"%hd", 70000), u"4464");
    EXPECT_EQ(Format(64, u"%%"), u"%");
    EXPECT_EQ(Format(64, u"# CWorld::Load failed! %s\n", u"x"), u"# CWorld::Load failed! x\n");
}

TEST(WideFormat, DecimalPointIgnoresProcessLocale)
{
    const char* previous = setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr)
        setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    EXPECT_EQ(Format(64, u"%.2f", 1.5), u"1.50");
    setlocale(LC_NUMERIC, saved.c_str());
}

TEST(WideFormat, TruncatesAtCapacityAndAlwaysTerminates)
{
    EXPECT_EQ(Format(6, u"%s", u"abcdefgh"), u"abcde");
    EXPECT_EQ(Format(4, u"%d", 123456), u"123");
    EXPECT_EQ(Format(3, u"%S%S", "abc", "def"), u"ab");
    EXPECT_EQ(Format(1, u"%s", u"abc"), u"");
    EXPECT_EQ(WFormat(nullptr, 0, u"%s", u"abc"), 0u);
    // A huge width cannot run past the buffer either.
    EXPECT_EQ(Format(8, u"%500d", 1), u"       ");
}

TEST(WideString, Utf8RoundTripIncludingSurrogatePairs)
{
    std::u16string text = u"A\u00e9\u65e5\U0001F600";
    EXPECT_EQ(Utf16ToUtf8(text), "A\xc3\xa9\xe6\x97\xa5\xf0\x9f\x98\x80");
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf8ToUtf16("\xff" "a\xc3"), u"\uFFFDa\uFFFD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xef\xbf\xbd");
}

TEST(WideString, BoundedCopyAndAppend)
{
    char16_t buffer[5];
    EXPECT_EQ(WStrCopy(buffer, 5, u"abcdefg"), 4u);
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    WStrCopy(buffer, 5, u"ab");
    WStrAppend(buffer, 5, u"cdef");
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    char narrow[3];
    StrCopy8(narrow, 3, "xyz");
    EXPECT_STREQ(narrow, "xy");
}
