#include <gtest/gtest.h>

#include "game/VadadiDazidevWorld.h"
#include "tests/support/LevelTestKit.h"

namespace {

// A level whose camera queries and picture size the test sets.
struct CCameraLevel : CTestLevel {
    explicit CCameraLevel(CWorldData* data) : CTestLevel(data, nullptr, 0, kLevelTypeHiddenObject) {}
    uint32_t GetCameraMode() override { return mode; }
    bool IsSceneOptionSet() override { return sceneOption; }
    float GetZoomRatio() override { return zoomRatio; }
    bool IsToolbarHeightIgnored() override { return heightIgnored; }
    void SetPicture(float w, float h) { m_fRefWidth = w, m_fRefHeight = h; }
    uint32_t mode = 0;
    bool sceneOption = false, heightIgnored = false;
    float zoomRatio = 0.0f;
};

// The world with a toolbar of the test's size and its camera in reach.
struct CCameraWorld : CVadadiDazidevWorld {
    Vector2 GetToolbarSize() const override { return toolbar; }
    Vector2 toolbar = {};
    using CVadadiDazidevWorld::m_bCameraMoving, CVadadiDazidevWorld::m_fZoom, CVadadiDazidevWorld::m_fAutoCenterSpeed,
        CVadadiDazidevWorld::m_nCurrentScene, CVadadiDazidevWorld::m_nState, CVadadiDazidevWorld::m_nLevelBusy,
        CVadadiDazidevWorld::m_nTooltipBusy, CVadadiDazidevWorld::m_nSceneCount, CVadadiDazidevWorld::m_pScenes,
        CVadadiDazidevWorld::m_vCamera;
};

// 1024 x 768, maximum zoom 1.3, a current level of a 2048 x 1536 picture.
class WorldCameraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Screen(1024, 768);
        w.GetData()->frameFactor = 1.0;
        w.GetGameData()->m_fMaxZoomRefRatio = 1.3f;
        w.m_fAutoCenterSpeed = 0.005f;
        w.m_pScenes = std::make_unique<std::unique_ptr<CGameLevel>[]>(1);
        w.m_pScenes[0] = std::make_unique<CCameraLevel>(w.GetData());
        w.m_nSceneCount = 1, w.m_nCurrentScene = 0;
        Level().SetPicture(2048, 1536);
    }
    void Screen(uint16_t width, uint16_t height) { w.GetData()->workingWidth = width, w.GetData()->workingHeight = height; }
    CCameraLevel& Level() { return static_cast<CCameraLevel&>(*w.GetCurrentLevel()); }
    void Clamp(float step, uint8_t toggle) { w.ClampCamera(w.m_vCamera, w.m_fZoom, step, toggle); }
    void Expect(float x, float y, float zoom)
    {
        EXPECT_NEAR(w.m_vCamera.x, x, 1e-3f);
        EXPECT_NEAR(w.m_vCamera.y, y, 1e-3f);
        EXPECT_FLOAT_EQ(w.m_fZoom, zoom);
    }
    static void ExpectScaledMoved(const Matrix4& m, float s, float x, float y)
    {
        const float want[16] = {s, 0, 0, 0, 0, s, 0, 0, 0, 0, s, 0, x, y, 0, 1};
        for (int i = 0; i < 16; ++i)
            EXPECT_FLOAT_EQ(m.m[i], want[i]) << "element " << i;
    }

    CCameraWorld w;
};

} // namespace

TEST_F(WorldCameraTest, ASnapGoesToTheClampedCornerAndTheLevelModesLockTheZoom)
{
    EXPECT_FALSE(w.IsZoomLocked());
    w.SnapCamera();
    Expect(0, 0, 0.5f);
    w.toolbar = {0, 100};
    w.SnapCamera();
    Expect(0, -100, 0.5f);
    w.toolbar = {100, 68};  // the free area's picture, and one of no size, stay at the toolbar's edge
    for (float side : {1.0f, 0.0f}) {
        Level().SetPicture(924 * side, 700 * side);
        w.SnapCamera();
        Expect(100, 0, 1.0f);
    }
    w.GetGameData()->m_fMaxZoomRefRatio = 1.0f;
    EXPECT_TRUE(w.IsZoomLocked());
    Level().mode = 2, Level().zoomRatio = 2.0f;
    w.SnapCamera();
    Expect(100, -700, 2.0f);  // slack y 700 - 1400
    EXPECT_TRUE(w.IsZoomLocked());
    Level().mode = 0, Level().sceneOption = true;
    w.SnapCamera();
    Expect(100, 0, 1.0f);
    EXPECT_FALSE(w.IsZoomLocked());
    w.m_nCurrentScene = kNoIndex;
    EXPECT_TRUE(w.IsZoomLocked());
}

TEST_F(WorldCameraTest, ToggleAndWheelZoomAroundTheirPivotsWithinFitAndMaximum)
{
    Level().SetPicture(1024, 768);
    w.SnapCamera();
    Clamp(0, 1);
    Expect(-153.6f, -115.2f, 1.3f);  // the new zoom's slack leaves it off the corner
    Clamp(0.1f, 0);
    Expect(-153.6f, -115.2f, 1.3f);
    Clamp(0, 1);
    Expect(0, 0, 1.0f);
    Level().SetPicture(2048, 1536);
    w.SnapCamera();
    w.GetData()->pointerX = 1024, w.GetData()->pointerY = 768;
    Clamp(0.05f, 0);
    Expect(-102.4f, -76.8f, 0.55f);
}

TEST_F(WorldCameraTest, TheEasedMoveWaitsWhileBusyOrFadingAndLandsExactly)
{
    Level().zoomRatio = 2.0f;
    w.SnapCamera();
    w.MoveCameraTo({-500, 300, 0}, 1.0f);
    w.m_nLevelBusy = 1;
    w.StepCamera(true);
    w.m_nLevelBusy = 0, w.m_nTooltipBusy = 1;
    w.StepCamera(true);
    w.m_nTooltipBusy = 0;
    w.StepCamera(false);
    Expect(0, 0, 0.5f);
    int frames = 0;
    for (; w.m_bCameraMoving && frames < 300; ++frames)
        w.StepCamera(true);
    EXPECT_NEAR(frames, 200, 1);
    EXPECT_EQ(w.m_vCamera.x * 1000 + w.m_vCamera.y + w.m_fZoom, -500299.0f);
}

TEST_F(WorldCameraTest, ViewMatricesFollowTheStateScreenAndToolbar)
{
    CGameData& g = *w.GetGameData();
    Screen(1280, 960);
    w.UpdateViewMatrices();
    for (const Matrix4* m : {&g.m_matView[0], &g.m_matView[1], &g.m_matOffsetView})
        ExpectScaledMoved(*m, 1.25f, 0, 0);
    Screen(1024, 600);
    Level().heightIgnored = true;
    w.toolbar = {100, 50};
    w.m_nState = 30;
    w.m_vCamera = {-10, -20, 0};
    w.m_fZoom = 0.8f;
    w.UpdateViewMatrices();
    ExpectScaledMoved(g.m_matView[0], 0.8f, -10, -20);
    ExpectScaledMoved(g.m_matView[1], 924.0f / 2048, 0, 0);  // the width scale is exactly 1.0
    ExpectScaledMoved(g.m_matOffsetView, 924.0f / 2048, 100, 0);
    Screen(1280, 960);
    w.UpdateViewMatrices();
    ExpectScaledMoved(g.m_matView[1], 0.625f, 100, 0);  // 960 / 1536 beats 1180 / 2048
}
