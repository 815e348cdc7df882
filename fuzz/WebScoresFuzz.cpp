// Web-score answers: the score server's answers to an account request and to the score posts of
// the finished records. Only the answer pages are shown, and a record is marked sent only by an
// answer to its own post. Input: u8 bits (the finished records), then answers, each a u8 size
// and its bytes.

#include <memory>
#include <vector>

#include "base/WideString.h"
#include "fuzz/FuzzGame.h"
#include "fuzz/FuzzSupport.h"
#include "game/scores/WebScoring.h"
#include "modules/NetworkEngine.h"

namespace {

using Answers = std::vector<std::string>;

// Answers each request with the next answer, in a block of its own size, before returning.
class CAnsweringClient : public CNetworkClientHTTP {
public:
    CAnsweringClient(CWorldData* data, Answers& answers) : CNetworkClientHTTP(data), m_answers(answers) {}
    Result Request(const char16_t*) override
    {
        if (m_next == m_answers.size())
            return RES_FAIL;
        const std::string& answer = m_answers[m_next++];
        std::unique_ptr<uint8_t[]> block(new uint8_t[answer.size()]);
        std::copy(answer.begin(), answer.end(), block.get());
        m_callback(block.get(), static_cast<uint32_t>(answer.size()), m_context);
        return RES_OK;
    }
    size_t Answered() const { return m_next; }

private:
    Answers& m_answers;
    size_t m_next = 0;
};

class CAnsweringEngine : public CNetworkEngine {
public:
    CAnsweringEngine(CWorldData* data, Answers& answers) : CNetworkEngine(data), m_answers(answers) {}
    CNetworkClientHTTP* CreateClientHTTP(NetworkResponseCallback callback, void* context) override
    {
        m_client = std::make_unique<CAnsweringClient>(m_pData, m_answers);
        m_client->SetCallback(callback, context);
        return m_client.get();
    }
    Result DestroyClientHTTP(CNetworkClientHTTP*) override
    {
        m_client.reset();
        return RES_OK;
    }
    size_t Answered() const { return m_client ? m_client->Answered() : 0; }

private:
    Answers& m_answers;
    std::unique_ptr<CAnsweringClient> m_client;
};

// Checks each page shown; a new send round queues the unsent records again.
class CCheckedPages : public CWebScorePages {
public:
    explicit CCheckedPages(CWebScoring& client) : m_client(client) {}
    void SetWebSubState(uint32_t) override {}
    void SetPage(uint32_t page) override
    {
        FUZZ_CHECK(page >= kPageScoresSent && page <= kPageNoAnswer);
    }
    void StartSendScores() override
    {
        m_client.Reset();
        IgnoreResult(m_client.QueueScores(255, 255));
    }

private:
    CWebScoring& m_client;
};

void FinishRecords(CGameData& game, uint8_t bits)
{
    for (uint32_t n = 0; n < kProfileModeCount * kProfileSlotCount; ++n) {
        CProfileProgress& record = game.m_Progress[n];
        FUZZ_CHECK(PrepareProgressRecord(record, 2) == RES_OK);
        record.m_bInUse = record.m_bFinished = (bits >> n) & 1;
    }
}

uint32_t SentRecords(const CGameData& game)
{
    uint32_t sent = 0;
    for (const CProfileProgress& record : game.m_Progress)
        sent += record.m_bSent;
    return sent;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const uint8_t finished = input.Take<uint8_t>();
    Answers answers;
    while (input.Left())
        answers.push_back(input.TakeBytes(input.Take<uint8_t>()));
    CFuzzGame game;
    CTestWorld& world = game.World();
    world.m_nSceneCount = 2;
    CGameData& g = game.Data();
    FinishRecords(g, finished);
    WStrCopy(g.m_szWebScoringServerUrl, kUrlUnits, u"http://127.0.0.1/scores");
    WStrCopy(g.m_szAppName, kAppNameUnits, u"VadadiDazidev");
    WStrCopy(g.m_szLogin, kLoginUnits, u"bob");
    WStrCopy(g.m_szPassword, kPasswordUnits, u"my pass");
    auto* engine = new CAnsweringEngine(world.GetData(), answers);
    world.m_pNetworkEngine.reset(engine);
    CWebScoring client(&world);
    CCheckedPages pages(client);
    client.SetPages(&pages);
    FUZZ_CHECK(client.Init() == RES_OK);
    IgnoreResult(client.SendSetUser());
    IgnoreResult(client.QueueScores(255, 255));
    for (size_t sends = 0; sends <= answers.size() && Succeeded(client.SendNext()); ++sends)
        client.Reset();
    FUZZ_CHECK(SentRecords(g) + 1 <= engine->Answered() || SentRecords(g) == 0);
    FUZZ_CHECK(client.Release() == RES_OK);
    return 0;
}
