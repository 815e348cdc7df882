#include "backends/network/NetworkEngineWin32.h"
#include "backends/network/NetworkModule.h"
#include "modules/NetworkSockets.h"
#include "core/WorldData.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Counts the objects a walk of the list reaches.
size_t Count(CLinkedList& list)
{
    size_t count = 0;
    for (ListValue value = list.GetFirst(); value; value = list.GetNext())
        ++count;
    return count;
}

// The Windows engine with its lists in view.
class ListedEngine : public CNetworkEngineWin32 {
public:
    using CNetworkEngineWin32::CNetworkEngineWin32;
    size_t Listed()
    {
        return Count(m_listNertworkClientHTTP) + Count(m_listNertworkClientTCP) + Count(m_listNertworkServerTCP)
            + Count(m_listNertworkClientUDP) + Count(m_listNertworkServerUDP);
    }
    CLinkedList& Http() { return m_listNertworkClientHTTP; }
};

void Ignore(const uint8_t*, uint32_t, void*) {}

class NetworkEngineTest : public ::testing::Test {
protected:
    std::unique_ptr<CWorldData> m_data = std::make_unique<CWorldData>();
};

} // namespace

TEST_F(NetworkEngineTest, ModulePublishesItsStateWhileItLives)
{
    CBaseObject* module = CreateNetworkOS(m_data.get());
    ASSERT_NE(module, nullptr);
    auto* engine = static_cast<CNetworkEngine*>(module);
    ASSERT_NE(m_data->networkState, nullptr);
    EXPECT_EQ(*static_cast<uint32_t*>(m_data->networkState), 0u);
    EXPECT_EQ(engine->Load(nullptr), RES_OK);
    EXPECT_EQ(engine->Unload(), RES_OK);
    delete module;
    EXPECT_EQ(m_data->networkState, nullptr);
}

TEST_F(NetworkEngineTest, BaseEngineMakesNothing)
{
    CNetworkEngine engine(m_data.get());
    int context = 0;
    EXPECT_EQ(engine.CreateClientHTTP(Ignore, &context), nullptr);
    EXPECT_EQ(engine.CreateClientTCP(), nullptr);
    EXPECT_EQ(engine.CreateServerTCP(), nullptr);
    EXPECT_EQ(engine.CreateClientUDP(), nullptr);
    EXPECT_EQ(engine.CreateServerUDP(), nullptr);
    CNetworkClientHTTP client(m_data.get());
    EXPECT_EQ(engine.DestroyClientHTTP(&client), RES_FAIL);
    EXPECT_EQ(client.Request(u"http://127.0.0.1/"), RES_FAIL);
    EXPECT_EQ(engine.DestroyClientTCP(nullptr), RES_FAIL);
    EXPECT_EQ(engine.DestroyServerUDP(nullptr), RES_FAIL);
}

TEST_F(NetworkEngineTest, ClientsAreListedUntilDestroyed)
{
    ListedEngine engine(m_data.get());
    int context = 0;
    CNetworkClientHTTP* first = engine.CreateClientHTTP(Ignore, &context);
    CNetworkClientHTTP* second = engine.CreateClientHTTP(Ignore, nullptr);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetCallback(), &Ignore);
    EXPECT_EQ(first->GetContext(), &context);
    EXPECT_EQ(engine.Http().GetFirst(), reinterpret_cast<ListValue>(first));
    EXPECT_EQ(engine.Http().GetNext(), reinterpret_cast<ListValue>(second));

    EXPECT_EQ(engine.DestroyClientHTTP(first), RES_OK);
    EXPECT_EQ(engine.Listed(), 1u);
    EXPECT_EQ(engine.Http().GetFirst(), reinterpret_cast<ListValue>(second));
    EXPECT_EQ(engine.DestroyClientHTTP(nullptr), RES_FAIL);
}

TEST_F(NetworkEngineTest, DestroyingAnotherEnginesClientLeavesItAlone)
{
    ListedEngine engine(m_data.get());
    ListedEngine other(m_data.get());
    CNetworkClientHTTP* foreign = other.CreateClientHTTP(Ignore, nullptr);
    ASSERT_NE(foreign, nullptr);

    EXPECT_EQ(engine.DestroyClientHTTP(foreign), RES_OK);
    EXPECT_EQ(other.Listed(), 1u);
    EXPECT_EQ(foreign->GetCallback(), &Ignore);
    EXPECT_EQ(other.DestroyClientHTTP(foreign), RES_OK);
    EXPECT_EQ(other.Listed(), 0u);
}

TEST_F(NetworkEngineTest, SocketObjectsAreMadeAndDestroyed)
{
    ListedEngine engine(m_data.get());
    CNetworkClientTCP* tcpClient = engine.CreateClientTCP();
    CNetworkServerTCP* tcpServer = engine.CreateServerTCP();
    CNetworkClientUDP* udpClient = engine.CreateClientUDP();
    CNetworkServerUDP* udpServer = engine.CreateServerUDP();
    ASSERT_TRUE(tcpClient && tcpServer && udpClient && udpServer);
    EXPECT_EQ(engine.Listed(), 4u);

    EXPECT_EQ(engine.DestroyClientTCP(tcpClient), RES_OK);
    EXPECT_EQ(engine.DestroyServerTCP(tcpServer), RES_OK);
    EXPECT_EQ(engine.DestroyClientUDP(udpClient), RES_OK);
    EXPECT_EQ(engine.DestroyServerUDP(udpServer), RES_OK);
    EXPECT_EQ(engine.Listed(), 0u);
}

TEST_F(NetworkEngineTest, UnloadDeletesEverythingStillListed)
{
    ListedEngine engine(m_data.get());
    for (int i = 0; i < 3; ++i)
        ASSERT_NE(engine.CreateClientHTTP(Ignore, nullptr), nullptr);
    ASSERT_NE(engine.CreateClientTCP(), nullptr);
    ASSERT_NE(engine.CreateServerTCP(), nullptr);
    ASSERT_NE(engine.CreateClientUDP(), nullptr);
    ASSERT_NE(engine.CreateServerUDP(), nullptr);

    EXPECT_EQ(engine.Unload(), RES_OK);
    EXPECT_EQ(engine.Listed(), 0u);
    EXPECT_NE(engine.CreateClientHTTP(Ignore, nullptr), nullptr);
    EXPECT_EQ(engine.Listed(), 1u);
}

TEST_F(NetworkEngineTest, EngineDeletedWithoutUnloadFreesItsObjects)
{
    auto engine = std::make_unique<CNetworkEngineWin32>(m_data.get());
    ASSERT_NE(engine->CreateClientHTTP(Ignore, nullptr), nullptr);
    ASSERT_NE(engine->CreateServerUDP(), nullptr);
    engine.reset();
    EXPECT_EQ(m_data->networkState, nullptr);
}
