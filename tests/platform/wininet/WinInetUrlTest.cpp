#include "platform/wininet/InternetUrl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Encoded(const char16_t* url)
{
    std::string encoded = "stale";
    return InternetEncodeUrl(url, encoded) ? encoded : "<refused>";
}

} // namespace

TEST(WinInetUrlTest, EncodesSpacesControlsAndNonAsciiOnly)
{
    EXPECT_EQ(Encoded(u"http://h/a b\tc\x7f"), "http://h/a%20b%09c%7F");
    EXPECT_EQ(Encoded(u"http://h/\u00e9\u65e5\U0001F600"), "http://h/%C3%A9%E6%97%A5%F0%9F%98%80");
    EXPECT_EQ(Encoded(u"https://h:8080/p?a=%41&b=|{}\"<>#f"), "https://h:8080/p?a=%41&b=|{}\"<>#f");
}

TEST(WinInetUrlTest, AcceptsOnlyHttpAndHttpsInAnyCase)
{
    EXPECT_EQ(Encoded(u"HTTP://h/"), "HTTP://h/");
    EXPECT_EQ(Encoded(u"HttpS://h/"), "HttpS://h/");
    EXPECT_EQ(Encoded(u"ftp://h/"), "<refused>");
    EXPECT_EQ(Encoded(u"file:///etc/passwd"), "<refused>");
    EXPECT_EQ(Encoded(u" http://h/"), "<refused>");
    EXPECT_EQ(Encoded(u"http:/h/"), "<refused>");
    EXPECT_EQ(Encoded(u""), "<refused>");
    EXPECT_EQ(Encoded(nullptr), "<refused>");
}

TEST(WinInetUrlTest, RefusalLeavesNothingBehind)
{
    std::string encoded = "stale";
    EXPECT_FALSE(InternetEncodeUrl(u"gopher://h/", encoded));
    EXPECT_TRUE(encoded.empty());
}
