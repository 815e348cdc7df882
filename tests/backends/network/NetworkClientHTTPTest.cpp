#include "backends/network/NetworkClientHTTPWin32.h"
#include "backends/network/NetworkEngineWin32.h"
#include "core/WorldData.h"
#include "platform/wininet/WinInet.h"
#include "tests/support/HttpTestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using Reply = HttpTestServer::Reply;
using Behaviour = HttpTestServer::Behaviour;

struct Answer {
    std::string bytes;
    uint32_t count;
};

void Record(const uint8_t* data, uint32_t count, void* context)
{
    static_cast<std::vector<Answer>*>(context)->push_back({std::string(reinterpret_cast<const char*>(data), count), count});
}

Reply Body(std::string body, int status = 200)
{
    Reply reply;
    reply.status = status;
    reply.body = std::move(body);
    return reply;
}

Reply Redirect(const std::string& location)
{
    Reply reply;
    reply.status = 302;
    reply.extraHeaders = "Location: " + location + "\r\n";
    return reply;
}

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

class NetworkClientHTTPTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_server.Listening());
        m_client = m_engine.CreateClientHTTP(Record, &m_answers);
        ASSERT_NE(m_client, nullptr);
    }
    void TearDown() override
    {
        InternetSetTimeouts(0, 0);
        EXPECT_EQ(m_engine.Unload(), RES_OK);
    }

    Result Get(const std::u16string& target) { return m_client->Request(m_server.Url(target).c_str()); }

    std::unique_ptr<CWorldData> m_data = std::make_unique<CWorldData>();
    CNetworkEngineWin32 m_engine{m_data.get()};
    HttpTestServer m_server;
    CNetworkClientHTTP* m_client = nullptr;
    std::vector<Answer> m_answers;
};

} // namespace

TEST_F(NetworkClientHTTPTest, ShortAnswersReachTheCallbackOnceWithTheirCount)
{
    m_server.Route("/one", Body("1"));
    m_server.Route("/empty", Body(""));

    EXPECT_EQ(Get(u"/one"), RES_OK);
    ASSERT_EQ(m_answers.size(), 1u);
    EXPECT_EQ(m_answers[0].count, 1u);
    EXPECT_EQ(m_answers[0].bytes, "1");

    EXPECT_EQ(Get(u"/empty"), RES_OK);
    ASSERT_EQ(m_answers.size(), 2u);
    EXPECT_EQ(m_answers[1].count, 0u);
}

TEST_F(NetworkClientHTTPTest, LongAnswerIsCutToOneBufferInOneCallback)
{
    std::string body = Pattern(20000);
    m_server.Route("/long", Body(body));

    EXPECT_EQ(Get(u"/long"), RES_OK);
    ASSERT_EQ(m_answers.size(), 1u);
    EXPECT_EQ(m_answers[0].count, CNetworkClientHTTPWin32::kAnswerBytes);
    EXPECT_EQ(m_answers[0].bytes, body.substr(0, CNetworkClientHTTPWin32::kAnswerBytes));
}

TEST_F(NetworkClientHTTPTest, AnswerSentInPiecesArrivesWhole)
{
    Reply reply = Body(Pattern(3000));
    reply.pieceBytes = 700;
    m_server.Route("/pieces", reply);

    EXPECT_EQ(Get(u"/pieces"), RES_OK);
    ASSERT_EQ(m_answers.size(), 1u);
    EXPECT_EQ(m_answers[0].bytes, reply.body);
}

TEST_F(NetworkClientHTTPTest, OnlyA2xxStatusIsAnAnswer)
{
    m_server.Route("/missing", Body("-2", 404));
    m_server.Route("/broken", Body("1", 500));
    m_server.Route("/accepted", Body("1", 202));

    EXPECT_EQ(Get(u"/missing"), RES_FAIL);
    EXPECT_EQ(Get(u"/broken"), RES_FAIL);
    EXPECT_TRUE(m_answers.empty()) << "an error page's body is not the server's word";
    EXPECT_EQ(Get(u"/accepted"), RES_OK);
    ASSERT_EQ(m_answers.size(), 1u);
    EXPECT_EQ(m_answers[0].bytes, "1");
}

TEST_F(NetworkClientHTTPTest, RedirectIsFollowedToTheAnswer)
{
    m_server.Route("/old", Redirect("/new"));
    m_server.Route("/new", Body("2"));

    EXPECT_EQ(Get(u"/old?action=set_user"), RES_OK);
    ASSERT_EQ(m_answers.size(), 1u);
    EXPECT_EQ(m_answers[0].bytes, "2");
    auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, "/new");
}

TEST_F(NetworkClientHTTPTest, EndlessRedirectsFailAfterABoundedNumber)
{
    m_server.Route("/loop", Redirect("/loop"));

    EXPECT_EQ(Get(u"/loop"), RES_FAIL);
    EXPECT_TRUE(m_answers.empty());
    EXPECT_LE(m_server.Requests().size(), 11u);
}

TEST_F(NetworkClientHTTPTest, OnlyHttpAndHttpsAreFetched)
{
    m_server.Route("/away", Redirect("ftp://127.0.0.1/file"));
    std::u16string ftp = u"ftp" + m_server.Url(u"/x").substr(4);

    EXPECT_EQ(m_client->Request(ftp.c_str()), RES_FAIL);
    EXPECT_EQ(m_client->Request(u"file:///etc/hostname"), RES_FAIL);
    EXPECT_EQ(m_client->Request(nullptr), RES_FAIL);
    EXPECT_EQ(Get(u"/away"), RES_FAIL);
    EXPECT_TRUE(m_answers.empty());
    EXPECT_EQ(m_server.Requests().size(), 1u);
}

TEST_F(NetworkClientHTTPTest, RefusedConnectionFailsWithoutCallback)
{
    RefusingPort port;
    ASSERT_NE(port.Port(), 0);

    EXPECT_EQ(m_client->Request(HttpTestServer::LoopbackUrl(port.Port(), u"/score").c_str()), RES_FAIL);
    EXPECT_TRUE(m_answers.empty());
}

TEST_F(NetworkClientHTTPTest, ConnectionDroppedAfterTheHeadersFailsWithoutCallback)
{
    Reply nothing = Body("");
    nothing.contentLength = 100;
    Reply half = Body("1");
    half.contentLength = 20;
    Reply trickle = Body("1");
    trickle.contentLength = 4;
    trickle.pieceBytes = 1;
    m_server.Route("/nothing", nothing);
    m_server.Route("/half", half);
    m_server.Route("/trickle", trickle);

    EXPECT_EQ(Get(u"/nothing"), RES_FAIL);
    EXPECT_EQ(Get(u"/half"), RES_FAIL);
    EXPECT_EQ(Get(u"/trickle"), RES_FAIL);
    EXPECT_TRUE(m_answers.empty());
}

TEST_F(NetworkClientHTTPTest, SlowServerEndsAtTheTimeout)
{
    InternetSetTimeouts(2000, 300);
    Reply silent;
    silent.behaviour = Behaviour::Silent;
    Reply stalled = Body("ab");
    stalled.contentLength = 100;
    stalled.behaviour = Behaviour::StallAfterHeaders;
    m_server.Route("/silent", silent);
    m_server.Route("/stalled", stalled);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Get(u"/silent"), RES_FAIL);
    auto silentTime = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(Get(u"/stalled"), RES_FAIL);
    auto bothTime = std::chrono::steady_clock::now() - start;

    EXPECT_TRUE(m_answers.empty());
    EXPECT_GE(silentTime, std::chrono::milliseconds(250));
    EXPECT_LT(bothTime, std::chrono::seconds(4));
}

TEST_F(NetworkClientHTTPTest, UrlReachesTheServerPercentEncoded)
{
    m_server.Route("/find%20me/%C3%A9t%C3%A9", Body("1"));

    EXPECT_EQ(Get(u"/find me/\u00e9t\u00e9?login=J\u00f6 B\tx&password=%41|{}&email=a@b"), RES_OK);
    auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].target, "/find%20me/%C3%A9t%C3%A9?login=J%C3%B6%20B%09x&password=%41|{}&email=a@b");
}

TEST_F(NetworkClientHTTPTest, RequestCarriesTheUserAgent)
{
    m_server.Route("/score", Body("1"));

    EXPECT_EQ(Get(u"/score"), RES_OK);
    auto requests = m_server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(requests[0].head.find("\r\nUser-Agent: VadEdoz 1\r\n"), std::string::npos) << requests[0].head;
    EXPECT_EQ(requests[0].head.rfind("GET ", 0), 0u);
}

TEST_F(NetworkClientHTTPTest, ClientWithoutCallbackStillRequests)
{
    m_server.Route("/score", Body("1"));
    CNetworkClientHTTP* silent = m_engine.CreateClientHTTP(nullptr, nullptr);
    ASSERT_NE(silent, nullptr);

    EXPECT_EQ(silent->Request(m_server.Url(u"/score").c_str()), RES_OK);
    EXPECT_EQ(m_server.Requests().size(), 1u);
    EXPECT_EQ(m_engine.DestroyClientHTTP(silent), RES_OK);
}
