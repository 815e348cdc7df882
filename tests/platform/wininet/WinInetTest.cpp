#include "platform/wininet/WinInet.h"
#include "tests/support/HttpTestServer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Reply = HttpTestServer::Reply;

Reply Body(std::string body)
{
    Reply reply;
    reply.body = std::move(body);
    return reply;
}

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 % 256);
    return bytes;
}

class WinInetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.Listening());
        m_session = InternetOpenW(u"Tester 2", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        ASSERT_NE(m_session, nullptr);
    }
    void TearDown() override { InternetCloseHandle(m_session); }

    HINTERNET Open(const std::u16string& target)
    {
        return InternetOpenUrlW(m_session, m_server.Url(target).c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0);
    }

    // Reads the whole body in reads of at most chunk bytes.
    std::string ReadAll(HINTERNET file, uint32_t chunk)
    {
        std::string all;
        std::string buffer(chunk, '\0');
        uint32_t read = 0;
        while (InternetReadFile(file, buffer.data(), chunk, &read) && read > 0)
            all.append(buffer, 0, read);
        return all;
    }

    HttpTestServer m_server;
    HINTERNET m_session = nullptr;
};

} // namespace

TEST_F(WinInetTest, ReadsFillTheBufferThenSignalTheEnd)
{
    m_server.Route("/text", Body("hello world"));
    HINTERNET file = Open(u"/text");
    ASSERT_NE(file, nullptr);

    char buffer[5];
    uint32_t read = 99;
    ASSERT_TRUE(InternetReadFile(file, buffer, 5, &read));
    EXPECT_EQ(std::string(buffer, read), "hello");
    ASSERT_TRUE(InternetReadFile(file, buffer, 5, &read));
    EXPECT_EQ(std::string(buffer, read), " worl");
    ASSERT_TRUE(InternetReadFile(file, buffer, 5, &read));
    EXPECT_EQ(std::string(buffer, read), "d");
    ASSERT_TRUE(InternetReadFile(file, buffer, 5, &read));
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(InternetCloseHandle(file));
}

TEST_F(WinInetTest, LargeBodyArrivesWholeInSmallAndLargeReads)
{
    std::string body = Pattern(300000);
    m_server.Route("/large", Body(body));

    HINTERNET small = Open(u"/large");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(ReadAll(small, 1000), body);
    InternetCloseHandle(small);

    HINTERNET whole = Open(u"/large");
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(ReadAll(whole, 400000), body);
    InternetCloseHandle(whole);
}

TEST_F(WinInetTest, AnswerCutShortFailsTheRead)
{
    Reply cut = Body("0123456789");
    cut.contentLength = 50;
    m_server.Route("/cut", cut);
    HINTERNET file = Open(u"/cut");
    ASSERT_NE(file, nullptr);

    char buffer[8];
    uint32_t read = 99;
    EXPECT_TRUE(InternetReadFile(file, buffer, 8, &read));
    EXPECT_EQ(std::string(buffer, read), "01234567");
    EXPECT_FALSE(InternetReadFile(file, buffer, 8, &read));
    EXPECT_EQ(read, 0u);
    InternetCloseHandle(file);
}

TEST_F(WinInetTest, SessionAgentIsSentAndOnlyWhenGiven)
{
    m_server.Route("/a", Body(""));
    HINTERNET file = Open(u"/a");
    ASSERT_NE(file, nullptr);
    InternetCloseHandle(file);
    HINTERNET anonymous = InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    ASSERT_NE(anonymous, nullptr);
    HINTERNET second = InternetOpenUrlW(anonymous, m_server.Url(u"/a").c_str(), nullptr, 0, 0, 0);
    ASSERT_NE(second, nullptr);
    InternetCloseHandle(anonymous);

    auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[0].head.find("\r\nUser-Agent: Tester 2\r\n"), std::string::npos);
    EXPECT_EQ(requests[1].head.find("User-Agent"), std::string::npos);
}

TEST_F(WinInetTest, ClosedAndWrongHandlesAreRefused)
{
    m_server.Route("/a", Body("x"));
    HINTERNET file = Open(u"/a");
    ASSERT_NE(file, nullptr);
    char buffer[4];
    uint32_t read = 99;

    EXPECT_FALSE(InternetReadFile(m_session, buffer, 4, &read));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(InternetOpenUrlW(file, m_server.Url(u"/a").c_str(), nullptr, 0, 0, 0), nullptr);
    EXPECT_FALSE(InternetReadFile(file, buffer, 4, nullptr));
    EXPECT_TRUE(InternetCloseHandle(file));
    EXPECT_FALSE(InternetCloseHandle(file));
    EXPECT_FALSE(InternetReadFile(file, buffer, 4, &read));
    EXPECT_FALSE(InternetCloseHandle(nullptr));
}

TEST_F(WinInetTest, ClosingTheSessionClosesItsUrls)
{
    m_server.Route("/a", Body("x"));
    HINTERNET session = InternetOpenW(u"A", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    ASSERT_NE(session, nullptr);
    HINTERNET file = InternetOpenUrlW(session, m_server.Url(u"/a").c_str(), nullptr, 0, 0, 0);
    ASSERT_NE(file, nullptr);

    EXPECT_TRUE(InternetCloseHandle(session));
    char buffer[4];
    uint32_t read = 0;
    EXPECT_FALSE(InternetReadFile(file, buffer, 4, &read));
    EXPECT_FALSE(InternetCloseHandle(file));
}

TEST_F(WinInetTest, UnsupportedArgumentsAreRefused)
{
    m_server.Route("/a", Body("x"));
    std::u16string url = m_server.Url(u"/a");
    EXPECT_EQ(InternetOpenW(u"A", 1, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(InternetOpenW(u"A", INTERNET_OPEN_TYPE_PRECONFIG, u"proxy:80", nullptr, 0), nullptr);
    EXPECT_EQ(InternetOpenW(u"A", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 1), nullptr);
    EXPECT_EQ(InternetOpenUrlW(nullptr, url.c_str(), nullptr, 0, 0, 0), nullptr);
    EXPECT_EQ(InternetOpenUrlW(m_session, url.c_str(), u"X-A: 1", 6, 0, 0), nullptr);
    EXPECT_EQ(InternetOpenUrlW(m_session, url.c_str(), nullptr, 0, 0x04000000u, 0), nullptr);
    EXPECT_TRUE(m_server.Requests().empty());
}

TEST_F(WinInetTest, TheStatusQueryGivesTheFinalAnswersCode)
{
    Reply missing = Body("-1");
    missing.status = 404;
    Reply moved;
    moved.status = 302;
    moved.extraHeaders = "Location: /text\r\n";
    m_server.Route("/missing", missing);
    m_server.Route("/moved", moved);
    m_server.Route("/text", Body("1"));
    const auto status = [](HINTERNET file) {
        uint32_t code = 0, length = sizeof code;
        return HttpQueryInfoW(file, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &length, nullptr) &&
                       length == sizeof code
                   ? code
                   : 0u;
    };
    HINTERNET notFound = Open(u"/missing");
    HINTERNET redirected = Open(u"/moved");
    ASSERT_TRUE(notFound && redirected);
    EXPECT_EQ(status(notFound), 404u);
    EXPECT_EQ(status(redirected), 200u);
    EXPECT_EQ(ReadAll(notFound, 16), "-1") << "the body of an error status is still read";

    // Only the numeric status is answered, into a buffer that holds it, for an open URL.
    uint32_t code = 0, length = sizeof code, index = 0;
    EXPECT_FALSE(HttpQueryInfoW(notFound, HTTP_QUERY_STATUS_CODE, &code, &length, nullptr));
    EXPECT_FALSE(HttpQueryInfoW(notFound, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &length, &index));
    length = 2;
    EXPECT_FALSE(HttpQueryInfoW(notFound, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &length, nullptr));
    length = sizeof code;
    EXPECT_FALSE(HttpQueryInfoW(m_session, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &length, nullptr));
    InternetCloseHandle(notFound);
    EXPECT_EQ(status(notFound), 0u);
    InternetCloseHandle(redirected);
}
