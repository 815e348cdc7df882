#include "game/widgets/Hint.h"

#include <array>
#include <cstring>

#include "engine3d/Font.h"
#include "tests/game/widgets/WidgetFixture.h"

namespace {

constexpr float kButtonX = 30.0f;
constexpr float kButtonY = 738.0f;

class HintTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(m_hint.Load(), RES_OK);
        SetPointer(kButtonX, kButtonY, kButtonX, kButtonY);
    }
    // The section of a charge and a count, read back.
    Result Restore(float charge, uint16_t count)
    {
        std::string bytes(6, '\0');
        std::memcpy(bytes.data(), &charge, 4);
        std::memcpy(bytes.data() + 4, &count, 2);
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        return m_hint.LoadFromProfile(stream, 1);
    }
    void Recharge(double frames)
    {
        SetFrameFactor(frames);
        m_hint.Recharge();
    }
    // Part and place of each timer draw.
    std::vector<std::array<float, 3>> TimerDraws()
    {
        std::vector<std::array<float, 3>> draws;
        for (const MemoryDraw& draw : m_engine->DrawsOf(m_hint.GetTimer()))
            draws.push_back({static_cast<float>(draw.part), draw.matrix.m[12], draw.matrix.m[13]});
        m_engine->ClearDraws();
        return draws;
    }

    CHint m_hint{m_world.GetData()};
};

TEST_P(HintTest, TheButtonChargesInNinetySecondsAndAClickInsideItUsesAHint)
{
    EXPECT_EQ(m_hint.GetCount(), 9u);
    Recharge(2699.0);
    EXPECT_EQ(m_hint.GetFrame(), 13u);
    EXPECT_EQ(m_hint.TryUseHint(), RES_FAIL) << "not charged";
    Recharge(1.0);
    EXPECT_EQ(m_hint.GetFrame(), 14u);
    SetPointer(kButtonX, kButtonY, kButtonX + 32.0f, kButtonY);
    EXPECT_EQ(m_hint.TryUseHint(), RES_FAIL) << "released outside";
    SetPointer(kButtonX - 32.0f, kButtonY - 32.0f, kButtonX + 31.9f, kButtonY + 31.9f);
    EXPECT_EQ(m_hint.TryUseHint(), RES_OK);
    EXPECT_EQ(m_hint.GetCount() * 100 + m_hint.GetFrame(), 800u);
    EXPECT_EQ(m_hint.GetCharge(), 0.0f);
}

TEST_P(HintTest, WithoutHintsLeftTheTimerStopsUntilHintsAreAdded)
{
    ASSERT_EQ(Restore(100.0f, 0), RES_OK);
    Recharge(3000.0);
    EXPECT_EQ(m_hint.GetCharge(), 100.0f);
    m_hint.FillTimer();
    EXPECT_EQ(m_hint.TryUseHint(), RES_FAIL);
    m_hint.AddHints(1);
    Recharge(50.0);
    EXPECT_EQ(m_hint.GetCharge(), 150.0f) << "from the charge it had";
    m_hint.AddHints(100);
    EXPECT_EQ(m_hint.GetCount(), 9u);
    ASSERT_EQ(Restore(1e9f, 50), RES_OK);
    EXPECT_EQ(m_hint.GetCount() * 10000.0f + m_hint.GetCharge(), 92700.0f) << "both kept in range";
    ASSERT_EQ(Restore(5.0f, 0), RES_OK);
    Data().m_bDebugKeys = 1;
    EXPECT_EQ(m_hint.TryUseHint(), RES_OK) << "the debug mode needs neither charge nor hints";
    EXPECT_EQ(m_hint.GetCount(), 0u);
    ASSERT_EQ(Restore(5.0f, 0), RES_OK);
    CStreamMemory cut(kStreamRead, "\0\0\0\0\1", 5);
    EXPECT_EQ(m_hint.LoadFromProfile(cut, 1), RES_FAIL);
    CStringStream saved;
    ASSERT_EQ(m_hint.SaveToProfile(saved), RES_OK);
    EXPECT_EQ(saved.m_bytes, std::string("\0\0\xA0\x40\0\0", 6));
}

TEST_P(HintTest, CountsAndChargeTimeComeFromTheSettings)
{
    Data().m_pExternalParams = std::make_unique<CPackedParams>(u"external.ini", FindPackerEntry, &m_world.GetData()->pak);
    UseSettings("[HINT]\nTIMER_CHARGE_SECONDS = 0\n");
    ASSERT_EQ(m_hint.Load(), RES_OK);
    EXPECT_EQ(m_hint.GetCount() * 10 + m_hint.GetMaxCount(), 55u) << "start 12, maximum 5";
    Recharge(1.0);
    EXPECT_EQ(m_hint.GetFrame(), 14u);
    EXPECT_EQ(m_hint.GetCharge(), 0.0f);
    UseSettings("[HINT]\nHINT_TEXTURE_FILE_NAME = none.png\n");
    EXPECT_EQ(m_hint.Load(), RES_FAIL);
    EXPECT_EQ(m_hint.GetGlow(), nullptr);
    uint32_t sound = 7;
    CStreamMemory stream(kStreamRead, &sound, 4);
    EXPECT_EQ(m_hint.ReadConstruction(stream), RES_OK);
    EXPECT_EQ(m_hint.ReadConstruction(stream), RES_FAIL);
    EXPECT_EQ(m_hint.GetSoundIndex(), 7u);
}

TEST_P(HintTest, TheGlowFadesInShowsAndFadesOutWhileItSpins)
{
    m_hint.FadeOut();
    EXPECT_EQ(m_hint.GetGlowState(), kGlowOff);
    m_hint.StartHint({200.0f, 300.0f, 5.0f});
    m_hint.FadeOut();
    EXPECT_EQ(m_hint.GetGlowState() * 10 + m_hint.GetGlowPhase(), 31.0f);
    SetFrameFactor(0.5);
    m_hint.ProcessGlow();
    m_hint.FadeOut();
    EXPECT_LT(m_hint.GetGlowPhase(), 1.0f) << "already fading out";
    m_hint.Stop();
    m_hint.StartHint({200.0f, 300.0f, 5.0f});
    SetFrameFactor(20.0);
    m_hint.ProcessGlow();
    EXPECT_EQ(m_hint.GetGlowState(), kGlowShow);
    m_hint.FadeOut();
    EXPECT_EQ(m_hint.GetGlowState(), kGlowFadeOut) << "from the show state too";
    for (double frames : {1000.0, 0.001, 62.83}) {
        m_hint.StartHint({200.0f, 300.0f, 5.0f});
        SetFrameFactor(frames);
        m_hint.ProcessGlow();
        EXPECT_TRUE(m_hint.GetAngle() >= 0.0f && m_hint.GetAngle() < 6.2831855f) << m_hint.GetAngle();
    }
    Matrix4& view = Data().m_matView[0];
    view = Matrix4{};
    view.m[0] = view.m[5] = view.m[10] = view.m[15] = 1.0f;
    m_hint.ProcessGlow();
    m_engine->ClearDraws();
    m_hint.RenderGlow();
    const std::vector<MemoryDraw> draws = m_engine->DrawsOf(m_hint.GetGlow());
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].matrix.m[12] * 1000 + draws[0].matrix.m[13], 200300.0f) << "at the target, z dropped";
    m_hint.Stop();
    m_hint.RenderGlow();
    EXPECT_EQ(m_engine->DrawsOf(m_hint.GetGlow()).size(), 1u);
}

TEST_P(HintTest, TheTimerImageIsDrawnAtTheButtonOrCentredWithItsCount)
{
    m_hint.FillTimer();
    m_engine->ClearDraws();
    m_hint.RenderAt(0.0f);
    EXPECT_FALSE(m_engine->DrawsOf(m_font->GetTextObject()).empty()) << "the count";
    EXPECT_EQ(TimerDraws(), (std::vector<std::array<float, 3>>{{14.0f, kButtonX, kButtonY}}));
    m_hint.EmptyTimer();
    m_hint.RenderAt(300.0f);
    EXPECT_EQ(TimerDraws(), (std::vector<std::array<float, 3>>{{0.0f, 512.0f, 300.0f}}));
    m_hint.RenderTutorialTimers(100.0f);
    EXPECT_EQ(TimerDraws(),
              (std::vector<std::array<float, 3>>{{6.0f, 256.0f, 100.0f}, {10.0f, 512.0f, 100.0f}, {14.0f, 768.0f, 100.0f}}));
}

INSTANTIATE_TEST_SUITE_P(FontTypes, HintTest, ::testing::Values(0u, 2u));

} // namespace
