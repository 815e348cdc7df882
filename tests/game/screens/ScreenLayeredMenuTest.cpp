#include "game/screens/ScreenLayeredMenu.h"

#include <optional>

#include "engine3d/Object.h"
#include "tests/game/ScreensFixture.h"
#include "tests/support/SceneFixture.h"
#include "tools/ObjectFileWriter.h"

namespace {

using Draw = std::array<float, 4>;  // part, x scale, x and y translation

// A mesh of three one-triangle parts; layers: part 0 (scale 0.2, weights 1 and 2), part 1 hidden
// while moving, part 2 hidden when idle, part 7 past the mesh; base (10, 20).
class ScreenLayeredMenuTest : public ScreensTest {
protected:
    void SetUp() override
    {
        ScreensTest::SetUp();
        C3dxModel mesh;
        for (uint32_t part = 0; part < 3; ++part) {
            mesh.parts.emplace_back().record = {part, 3 * part, 3, 3 * part, 3, 1, kPrimitiveTriangleList, kCullNone};
            mesh.vertices.resize(3 * part + 3, C3dxVertex{{1, 2, 0}, {0, 0, -1}, 0xFFFFFFFFu, 0, {0, 0}});
        }
        mesh.indices = {0, 1, 2, 0, 1, 2, 0, 1, 2};
        m_files["_raw.full.Win32/_menu_0.obj.3dx"] = Make3dxBytes(mesh, 16, kWrite3dxPositions | kWrite3dxUVs);
        Open();
        m_math.Identity(&Game().m_matView[0]);
        m_model.layers = {{0, 0, 0, 0.2f, 1, 2}, {1, 1, 0, 0.5f, 0, 0}, {2, 0, 1, 0, 0, 0}, {7, 0, 0, 0, 0, 0}};
        m_model.baseX = 10.0f;
        m_model.baseY = 20.0f;
        menu.emplace(Data(), Engine(), 0);
        ASSERT_EQ(menu->Init(), RES_OK);
        ASSERT_EQ(Describe(LayeredMenuBody(m_model)), RES_OK);
        ASSERT_EQ(menu->LoadMesh(), RES_OK);
    }
    Result Describe(const std::string& body)
    {
        CSceneTestStream stream(body);
        return menu->LoadDescription(&stream);
    }
    std::vector<Draw> Drawn()
    {
        std::vector<Draw> drawn;
        for (const MemoryDraw& d : Draws())
            drawn.push_back({static_cast<float>(d.part), d.matrix.m[0], d.matrix.m[12], d.matrix.m[13]});
        Engine()->ClearDraws();
        return drawn;
    }

    CLayeredMenuModel m_model;
    std::optional<CScreenLayeredMenu> menu;
};

TEST_F(ScreenLayeredMenuTest, EnteringZoomsTheLayersByTheSineOfThePhase)
{
    EXPECT_EQ(menu->DrawEnter(), RES_OK);
    EXPECT_EQ(Drawn(), (std::vector<Draw>{{0, 1.0f, 10, 20}, {2, 1.0f, 10, 20}})) << "phase 0: scale 1";
    Data()->frameFactor = 50.0;
    EXPECT_FALSE(menu->StepEnter());
    EXPECT_EQ(menu->DrawEnter(), RES_OK);
    EXPECT_EQ(menu->DrawEnterReverse(), RES_OK);
    const std::vector<Draw> drawn = Drawn();
    EXPECT_FLOAT_EQ(drawn.at(0)[1], 1.1414214f);
    EXPECT_FLOAT_EQ(drawn.at(2)[1], 1.0f + 0.2f * (2.0f - 0.70710678f));
    Data()->frameFactor = 150.0;
    EXPECT_TRUE(menu->StepEnter()) << "done in one call";
    EXPECT_EQ(menu->DrawEnter(), RES_OK);
    EXPECT_FLOAT_EQ(Drawn().at(0)[1], 1.0f) << "the phase starts again at 0";
}

TEST_F(ScreenLayeredMenuTest, EachDrawSkipsTheLayersOfItsFlagsAndThePartPastTheMesh)
{
    EXPECT_EQ(s_log, u"# CScreenLayeredMenu::LoadMesh warning! layer 3 names part 7 of 3\n");
    menu->SetExitDirection({4.0f, 8.0f, 0.0f});
    EXPECT_FALSE(menu->StepLeave());  // phase 0.5
    EXPECT_EQ(menu->DrawLeave(), RES_OK);
    EXPECT_EQ(Drawn(), (std::vector<Draw>{{0, 1.2f, 12, 28}, {2, 1.0f, 10, 20}}));
    Game().m_vPointerOffset = {0.5f, -1.0f, 0.0f};
    EXPECT_EQ(menu->DrawIdle(false, false), RES_OK);
    EXPECT_EQ(Drawn(), (std::vector<Draw>{{0, 1.2f, 10.5f, 18}, {1, 1.5f, 10, 20}, {2, 1.0f, 10, 20}}));
    EXPECT_EQ(menu->DrawIdle(true, false), RES_OK);
    EXPECT_EQ(menu->DrawIdle(false, true), RES_OK);
    std::vector<uint32_t> parts;
    for (const MemoryDraw& d : Draws())
        parts.push_back(d.part);
    EXPECT_EQ(parts, (std::vector<uint32_t>{0, 2, 0, 1}));
}

TEST_F(ScreenLayeredMenuTest, ACutOrOvercountedDescriptionFailsAndKeepsTheLayers)
{
    const std::string whole = LayeredMenuBody(m_model);
    std::string huge = LayeredMenuBody({});
    for (size_t cut = huge.size() - 16; cut < whole.size(); ++cut)
        EXPECT_EQ(Describe(whole.substr(0, cut)), RES_FAIL) << cut;
    huge.replace(huge.size() - 16, 4, "\xFF\xFF\xFF\x0F");
    EXPECT_EQ(Describe(huge), RES_FAIL);
    EXPECT_EQ(menu->DrawIdle(false, false), RES_OK);
    EXPECT_EQ(Drawn().size(), 3u) << "the layers read before stay";
}

TEST_F(ScreenLayeredMenuTest, AMissingMeshFailsAndUnloadingFreesTheMesh)
{
    CScreenLayeredMenu outro(Data(), Engine(), 1);
    ASSERT_EQ(outro.Init(), RES_OK);
    EXPECT_EQ(outro.LoadFiles(), RES_FAIL);
    EXPECT_FALSE(outro.IsLoaded());
    EXPECT_EQ(outro.Release(), RES_OK);
    EXPECT_EQ(menu->UnloadFiles(), RES_OK);
    EXPECT_EQ(menu->GetDisplayObject()->GetPartCount(), 0u);
    EXPECT_EQ(menu->Release(), RES_OK);
    EXPECT_EQ(EngineObjects(), 0u);
}

} // namespace
