// Loopback score exchanges: the median set_score round trip over the real network engine, and
// the longest frame a silent server holds a send at the default timeouts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "backends/network/NetworkEngineWin32.h"
#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "core/ParamsReader.h"
#include "game/VadadiDazidevWorld.h"
#include "game/scores/WebScoring.h"
#include "tests/support/ScoreTestServer.h"
#include "tests/support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

class CBenchWorld : public CVadadiDazidevWorld {
public:
    void UseNetwork() { m_pNetworkEngine.reset(new CNetworkEngineWin32(GetData())); }
    void SetLevels(uint32_t count) { m_nSceneCount = count; }
};

double Milliseconds(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main()
{
    TempDir dir;
    setenv("APPDATA", dir.File("appdata").c_str(), 1);
    CParamsText game(kGameSettingsText, kGameSettingsLength);
    CBenchWorld world;
    if (Failed(world.SetParameters(nullptr, &game, nullptr, nullptr, 0, nullptr, nullptr)) ||
        Failed(world.GetDataFolder())) {
        fprintf(stderr, "cannot set up the world\n");
        return 1;
    }
    world.UseNetwork();
    world.SetLevels(20);
    if (Failed(world.LoadProfiles())) {
        fprintf(stderr, "cannot load the profiles\n");
        return 1;
    }
    ScoreTestServer server;
    server.AddAccount("bob", {"my pass", "bob@example.org"});
    CGameData& data = *world.GetGameData();
    WStrCopy(data.m_szWebScoringServerUrl, kUrlUnits, server.BaseUrl().c_str());
    WStrCopy(data.m_szLogin, kLoginUnits, u"bob");
    WStrCopy(data.m_szPassword, kPasswordUnits, u"my pass");
    WStrCopy(data.m_szAppName, kAppNameUnits, u"VadadiDazidev");
    CWebScoring client(&world);
    if (Failed(client.Init()))
        return 1;

    std::vector<double> trips;
    for (int i = 0; i < 41; ++i) {
        CProfileProgress& record = data.Progress(0, 0);
        record.m_bFinished = 1;
        record.m_bSent = 0;
        record.m_nYear = 2026;
        client.Reset();
        const Result queued = client.QueueScores(255, 255);
        const Clock::time_point start = Clock::now();
        const Result sent = client.SendNext();
        trips.push_back(Milliseconds(start));
        if (Failed(queued) || Failed(sent)) {
            fprintf(stderr, "the score was not sent\n");
            return 1;
        }
    }
    std::sort(trips.begin(), trips.end());
    printf("set_score round trip, median of %zu: %.3f ms (scores accepted: %zu)\n", trips.size(),
           trips[trips.size() / 2], server.Scores().size());

    HttpTestServer::Reply silent;
    silent.behaviour = HttpTestServer::Behaviour::Silent;
    server.SetFault(silent);
    data.Progress(0, 0).m_bSent = 0;
    client.Reset();
    if (Failed(client.QueueScores(255, 255))) {
        fprintf(stderr, "cannot queue the score\n");
        return 1;
    }
    const Clock::time_point start = Clock::now();
    const Result result = client.SendNext();
    printf("frame held by a silent server at the default timeouts: %.0f ms (result %d)\n", Milliseconds(start),
           result < 0 ? -1 : 0);
    IgnoreResult(client.Release());  // measured: nothing is sent again
    return 0;
}
