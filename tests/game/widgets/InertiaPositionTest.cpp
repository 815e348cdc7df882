#include "game/widgets/InertiaPosition.h"

#include <gtest/gtest.h>

#include <memory>

#include "base/Clock.h"
#include "core/WorldData.h"

namespace {

uint64_t s_now = 0;  // nanoseconds

class InertiaPositionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetClockSource([] { return s_now; });
        m_data->frameFactor = 1.0;
        ASSERT_EQ(m_inertia.Load(), RES_OK);
    }
    void TearDown() override { SetClockSource(nullptr); }
    // A press, moves by each dx after the given microseconds, and the release.
    void Drag(std::initializer_list<float> moves, uint64_t microseconds)
    {
        float x = 0.0f;
        EXPECT_EQ(m_inertia.Begin(x, 0), RES_FAIL) << "no fling before the release";
        for (float dx : moves) {
            s_now += microseconds * 1000;
            EXPECT_EQ(m_inertia.Move(x += dx, 0), RES_FAIL);
        }
        EXPECT_EQ(m_inertia.End(x, 0), RES_FAIL);
    }
    float StepX()
    {
        Vector3 out = {1, 1, 1};
        m_inertia.Step(&out);
        EXPECT_EQ(out.y + out.z, 0.0f);
        return out.x;
    }

    std::unique_ptr<CWorldData> m_data = std::make_unique<CWorldData>();
    CInertiaPosition m_inertia{m_data.get()};
};

} // namespace

TEST_F(InertiaPositionTest, TheThrowIsTheMeanOfRingSlotsOneToThree)
{
    Drag({}, 0);
    EXPECT_EQ(StepX(), 0.0f);  // one sample
    Drag({20, 29}, 16667);     // below the test reference of 30
    EXPECT_EQ(StepX(), 0.0f);
    Drag({100, 40}, 16667);
    EXPECT_NEAR(StepX(), 20.0f, 1e-3f);  // 40 x 0.016667 x 30; slot 0 left out
    Drag({10, 40, 40, 40, 1000}, 16667);  // the fifth overwrites slot 0
    EXPECT_NEAR(StepX(), 20.0f, 1e-3f);
}

TEST_F(InertiaPositionTest, EachStepSlowsTheThrowOnceWhateverTheFrameFactor)
{
    Drag({0, 50}, 6667);  // 50 x 0.006667 x 30 = 10
    EXPECT_NEAR(StepX(), 10.0f, 2e-3f);
    EXPECT_NEAR(StepX(), 9.5f, 2e-3f);
    m_data->frameFactor = 2.0;
    EXPECT_NEAR(StepX(), 18.05f, 2e-3f);  // 9.025 x 2
    m_inertia.Stop();
    EXPECT_EQ(StepX(), 0.0f);
}
