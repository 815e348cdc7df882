#include "game/scores/WebScoring.h"

#include <cmath>

#include "backends/network/NetworkEngineWin32.h"
#include "base/WideString.h"
#include "platform/wininet/WinInet.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/ScoreTestServer.h"

namespace {

using Reply = HttpTestServer::Reply;

const CLevelTime kOneMinute = {300.0f, 1, 0};
const CLevelTime kNoTime = {kNoTimeUnits, kNoTimeCount, kNoTimeCount};

// The client against the loopback score server, driven as the menu dialog drives it: each frame
// of the web sub-state runs only while the client is idle, and the next sub-state is set before
// a send, so what the answer sets stays.
class WebScoringTest : public GameWorldTest, public CWebScorePages {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        ASSERT_TRUE(m_server.Listening());
        m_world.m_pNetworkEngine.reset(new CNetworkEngineWin32(m_world.GetData()));
        m_world.m_nSceneCount = 2;
        ASSERT_EQ(m_world.LoadProfiles(), RES_OK);
        SetAccount(m_server.BaseUrl(), u"bob", u"my pass");
        WStrCopy(Data().m_szEmail, kEmailUnits, u"bob@example.org");
        Data().m_nNormalModeVersion = 3;
        Data().m_nTimedModeVersion = 4;
        ASSERT_EQ(m_client.Init(), RES_OK);
        m_client.SetPages(this);
    }
    void TearDown() override
    {
        InternetSetTimeouts(0, 0);
        EXPECT_EQ(m_client.Release(), RES_OK);
        GameWorldTest::TearDown();
    }

    void SetWebSubState(uint32_t subState) override { m_subState = subState; }
    void SetPage(uint32_t page) override { m_pages.push_back(page); }
    void StartSendScores() override
    {
        m_client.Reset();
        EXPECT_EQ(m_client.QueueScores(255, 255), RES_OK);
        m_subState = kWebScoresWait;
        SetPage(kPageSendingScores);
    }
    void RunDialog(uint32_t subState)
    {
        m_subState = subState;
        for (int frame = 0; frame < 64 && m_client.GetRequestState() == CWebScoring::kIdle; ++frame) {
            switch (m_subState) {
            case kWebAccountWait: m_subState = kWebAccountSend; break;
            case kWebAccountSend: m_subState = kWebAccountSent; Sent(m_client.SendSetUser()); break;
            case kWebScoresWait: m_subState = kWebScoresSend; break;
            case kWebScoresSend: m_subState = kWebScoresSent; Sent(m_client.SendNext()); break;
            default: return;
            }
        }
    }
    void Sent(Result result)
    {
        if (Failed(result))
            m_subState = kWebIdle, SetPage(kPageNoAnswer);
    }

    void SetAccount(const std::u16string& server, const char16_t* login, const char16_t* password)
    {
        WStrCopy(Data().m_szWebScoringServerUrl, kUrlUnits, server.c_str());
        WStrCopy(Data().m_szLogin, kLoginUnits, login);
        WStrCopy(Data().m_szPassword, kPasswordUnits, password);
        WStrCopy(Data().m_szAppName, kAppNameUnits, u"VadadiDazidev");
    }
    CProfileProgress& Finish(uint32_t mode, uint32_t slot, CLevelTime first, CLevelTime second = kNoTime)
    {
        CProfileProgress& record = Data().Progress(mode, slot);
        record.m_bFinished = 1;
        record.m_nYear = 2026, record.m_nMonth = 12, record.m_nDay = 8, record.m_nHour = 21, record.m_nMinute = 15;
        record.m_pLevelTimes[0] = first;
        record.m_pLevelTimes[1] = second;
        return record;
    }
    std::string ScoreUrl(uint32_t mode, uint32_t slot)
    {
        char16_t url[kWebScoreUrlUnits];
        EXPECT_TRUE(m_client.BuildScoreURL(static_cast<uint8_t>(slot), static_cast<uint8_t>(mode), url));
        return Utf16ToUtf8(url);
    }
    // Whether the saved profile of mode and slot says sent.
    bool SavedAsSent(uint32_t mode, uint32_t slot)
    {
        Data().Progress(mode, slot).m_bSent = 0;
        return Succeeded(m_world.LoadProfileSlot(mode, slot, false)) && Data().Progress(mode, slot).m_bSent;
    }
    std::string LastTarget() const { return m_server.Requests().back().target; }

    ScoreTestServer m_server;
    CWebScoring m_client{&m_world};
    uint32_t m_subState = kWebIdle;
    std::vector<uint32_t> m_pages;
};

} // namespace

TEST_F(WebScoringTest, SetUserAnswersPickThePagesAndOnlyOneOrTwoSetTheAccount)
{
    WStrCopy(Data().m_szPassword, kPasswordUnits, u"");
    RunDialog(kWebAccountWait);
    EXPECT_NE(LastTarget().find("&login=bob&password=&email=bob%40example.org"), std::string::npos);
    EXPECT_EQ(m_server.Accounts().count("bob"), 1u);
    EXPECT_EQ(Data().m_bAccount, 1);
    m_client.Reset();
    RunDialog(kWebAccountWait);  // the same account again
    EXPECT_EQ(m_pages, (std::vector<uint32_t>{23, 24}));
    EXPECT_EQ(m_subState, uint32_t{kWebIdle});

    const std::pair<std::string, uint32_t> answers[] = {{"-1", 25}, {"-2", 26}, {"1\n", 27}, {"", 27}, {"3", 27}};
    for (const auto& [body, page] : answers) {
        Data().m_bAccount = 0;
        m_server.SetFault(ScoreAnswer(body));
        m_client.Reset();
        RunDialog(kWebAccountWait);
        EXPECT_EQ(m_pages.back(), page) << body;
        EXPECT_EQ(Data().m_bAccount, 0) << body;
    }
}

TEST_F(WebScoringTest, ScoreUrlCarriesTheScoresModesDateAndCrcOfTheUnencodedText)
{
    SetAccount(u"http://127.0.0.1:8765/score", u"bob", u"my pass");
    Finish(1, 0, kOneMinute).m_nSecond = 0;
    std::string url = ScoreUrl(1, 0);
    EXPECT_EQ(url, "http://127.0.0.1:8765/score?action=set_score&login=bob&password=my%20pass&plateforme=WIN32"
                   "&jeu=VadadiDazidev&version=4&score1=360&score2=-1&mode1=timeattack&mode2=timeattack"
                   "&date=2026-12-08_211500&crc=c67ff6772a8b493af026db613bbdd137");

    char16_t crc[kWebScoreCrcUnits];
    CWebScoring::Crc(u"", crc);
    EXPECT_EQ(Utf16ToUtf8(crc), "90b76fd1da02c8664c6d92a584eea883");
    Data().Progress(1, 0).m_nSecond = 1;
    EXPECT_EQ(ScoreUrl(1, 0).find("c67ff6772a8b493af026db613bbdd137"), std::string::npos);

    // Times no server can read are sent as no time.
    const CLevelTime unreadable[] = {{INFINITY, 0, 0}, {NAN, 0, 0}, {-1.0f, 0, 0}, {2147483648.0f, 0, 0},
                                     {1.0f, 255, 0}, {1.0f, 0, 255}, {2147483520.0f, 254, 254}};
    for (const CLevelTime& time : unreadable) {
        Finish(0, 1, time, {1799.0f, 59, 254});
        EXPECT_NE(ScoreUrl(0, 1).find("&score1=-1&score2=919739&mode1=story&mode2=story&"), std::string::npos);
    }
}

TEST_F(WebScoringTest, UnsentRecordsGoOneByOneInModeAndSlotOrderAndAreSavedAsSent)
{
    m_server.AddAccount("b+o&b=\xC3\xA9", {"my pass", "bob@example.org"});
    SetAccount(m_server.BaseUrl(), u"b+o&b=\u00E9", u"my pass");
    Finish(1, 2, kOneMinute);
    Finish(0, 1, {10.0f, 2, 0});
    Finish(0, 0, kOneMinute, kOneMinute);
    Data().Progress(0, 0).m_pLevelTimes[1].m_nHours = 1;
    EXPECT_TRUE(m_client.HasUnsentScores());

    StartSendScores();
    RunDialog(m_subState);

    EXPECT_EQ(m_pages, (std::vector<uint32_t>{19, 19, 19, 21}));
    auto scores = m_server.Scores();
    ASSERT_EQ(scores.size(), 3u);
    EXPECT_EQ(scores[0].scores, (std::vector<long long>{360, 3960}));
    EXPECT_EQ(scores[1].scores, (std::vector<long long>{130, -1}));
    EXPECT_EQ(scores[2].mode, "timeattack");
    EXPECT_EQ(scores[2].version, "4");
    EXPECT_EQ(scores[0].login, "b+o&b=\xC3\xA9");
    EXPECT_FALSE(m_client.HasUnsentScores());
    EXPECT_TRUE(SavedAsSent(0, 0) && SavedAsSent(0, 1) && SavedAsSent(1, 2));
}

TEST_F(WebScoringTest, RefusedOrUnreadAnswersLeaveTheRecordUnsent)
{
    m_server.AddAccount("bob", {"another", "bob@example.org"});
    Finish(0, 0, kOneMinute);
    StartSendScores();
    RunDialog(m_subState);  // "-2": wrong password
    EXPECT_EQ(m_pages.back(), kPageScoreRefused);

    // A silent server fails the send once the timeout is over; an answer cut off in its body, or
    // whole under an error status, is no answer either.
    InternetSetTimeouts(100, 200);
    Reply silent;
    silent.behaviour = HttpTestServer::Behaviour::Silent;
    Reply cut = ScoreAnswer("1");
    cut.contentLength = 5;
    for (const Reply& fault : {silent, cut, ScoreAnswer("1", 404), ScoreAnswer("1", 500)}) {
        m_server.SetFault(fault);
        StartSendScores();
        RunDialog(m_subState);
        EXPECT_EQ(m_pages.back(), kPageNoAnswer) << fault.status;
        EXPECT_EQ(m_client.GetRequestState(), CWebScoring::kIdle);
        EXPECT_EQ(Data().Progress(0, 0).m_bSent, 0);
        EXPECT_FALSE(SavedAsSent(0, 0));
    }
    m_server.SetFault(ScoreAnswer("1"));
    StartSendScores();
    RunDialog(m_subState);
    EXPECT_EQ(m_pages.back(), kPageScoresSent);
    EXPECT_TRUE(SavedAsSent(0, 0));
}

TEST_F(WebScoringTest, SendsThatCannotGoOutFailWithoutTouchingTheRecords)
{
    RefusingPort refusing;
    SetAccount(HttpTestServer::LoopbackUrl(refusing.Port(), u"/score"), u"bob", u"my pass");
    RunDialog(kWebAccountWait);
    EXPECT_EQ(m_pages.back(), kPageNoAnswer);
    EXPECT_EQ(m_client.GetRequestState(), CWebScoring::kIdle);

    SetAccount(m_server.BaseUrl() + u" x", u"bob", u"my pass");
    RunDialog(kWebAccountWait);
    EXPECT_EQ(m_pages.back(), kPageNoAnswer);
    EXPECT_NE(s_log.find(u"# CWebScoring"), std::u16string::npos);
    EXPECT_TRUE(m_server.Requests().empty());

    // A record whose URL would pass its buffer is not queued.
    SetAccount(u"http://127.0.0.1:1/" + std::u16string(230, u'a'), u"bob", std::u16string(12, u'\u00E9').c_str());
    m_world.m_nSceneCount = 100;
    CProfileProgress& record = Data().Progress(1, 0);
    ASSERT_EQ(PrepareProgressRecord(record, 100), RES_OK);
    record.m_bFinished = 1;
    for (uint32_t level = 0; level < 100; ++level)
        record.m_pLevelTimes[level] = {2147483520.0f, 0, 0};
    EXPECT_EQ(m_client.QueueScores(255, 255), RES_OK);
    EXPECT_EQ(m_client.SendNext(), RES_FAIL);
    EXPECT_NE(s_log.find(u"does not fit a URL"), std::u16string::npos);
    EXPECT_EQ(record.m_bSent, 0);

    CWebScoring offline(&m_world);
    EXPECT_EQ(m_client.Release(), RES_OK);
    m_world.m_pNetworkEngine.reset();
    EXPECT_EQ(offline.Init(), RES_FAIL);
}
