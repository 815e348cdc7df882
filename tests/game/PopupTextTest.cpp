#include <algorithm>

#include "backends/audio/AudioModule.h"
#include "game/GameLabels.h"
#include "game/PopupScreens.h"
#include "tests/game/StringsFixture.h"
#include "tests/support/WavFixture.h"
#include "tests/support/platform/MixerManualSink.h"

namespace {

// The menu dialog and the labels a pop-up reaches, each call noted.
class CTestScreens : public CPopupDialog, public CGameLabels {
public:
    using CGameLabels::CGameLabels;
    void PlayClickSound() override { calls += "click "; }
    float GetFrameWidth() override { return 50.0f; }
    const CLabelRecord* GetLabel(uint32_t n) override { return n < 2 ? &records[n] : nullptr; }
    void ShowLabel(int32_t n) override { calls += "label" + std::to_string(n) + " "; }

    CLabelRecord records[2] = {{0, 0, {1, 2, 3, 4}}, {1, 0, {10, 20, 30, 300}}};
    std::string calls;
};

class PopupTextTest : public StringsTest {
protected:
    void SetUp() override
    {
        StringsTest::SetUp();
        Table("en", "", {u"A#B#C", u"A|a#B", u"\\L=2,S=voice.wav\\Text", u"\\L=1", u"\\X=1\\Text",
                         u"a%db%dc%%d%s%n", u"\\L=" + std::u16string(256, u'1') + u"\\X", u"\\L=9\\Y"});
        Table("en", ".commons", {});
        Open();
        ASSERT_EQ(m_world.LoadLanguage(0), RES_OK);
        m_world.m_pLabels.reset(m_screens = new CTestScreens(m_world.GetData(), m_engine, 0));
        ASSERT_EQ(m_popup.Load(kFixtureScale, kFixtureScale), RES_OK);
        m_popup.SetScreens(nullptr, nullptr, m_screens);
        m_popup.SetLabels(&m_world);
    }
    void TearDown() override
    {
        EXPECT_EQ(m_popup.Release(), RES_OK);
        StringsTest::TearDown();
        SetMixerOutputFactory(nullptr);
    }
    std::u16string Next(uint32_t result = 0)
    {
        EXPECT_EQ(m_popup.OnTextNext(), result);
        return m_popup.GetPage();
    }

    CPopupText m_popup{m_world.GetData()};
    CTestScreens* m_screens = nullptr;
};

TEST_P(PopupTextTest, PagesGoForwardAndBackByTheButtons)
{
    m_popup.SetText(0, kGameTable);
    EXPECT_EQ(Next(1), Code(u"A"));
    EXPECT_EQ(Next(), Code(u"B"));
    EXPECT_EQ(Next(), Code(u"C"));
    EXPECT_EQ(Next(1), Code(u"C")) << "no text left";
    EXPECT_EQ(m_popup.Render(), RES_OK);
    EXPECT_FALSE(m_engine->DrawsOf(m_font->GetTextObject()).empty()) << "drawn with the main font";
    m_popup.OnTextPrevious();
    EXPECT_EQ(m_popup.GetPage(), Code(u"B"));
    EXPECT_EQ(m_popup.OnButton(kPopupButtonBack, 9.0f) + m_popup.OnButton(kPopupButtonBack, 9.0f), 0u);
    EXPECT_EQ(m_popup.GetPage(), Code(u"A")) << "never before the text's start";
    EXPECT_EQ(m_popup.OnButton(kPopupButtonNext, 9.0f) + m_popup.OnButton(kPopupButtonNextPage, 9.0f), 0u);
    EXPECT_EQ(m_popup.OnButton(99, 9.0f), 99u);
    EXPECT_EQ(m_popup.OnButton(kPopupButtonNext, 9.0f), 25u);
    EXPECT_FALSE(m_popup.HoldsText()) << "cleared at the end";
    m_popup.SetText(1, kGameTable);
    EXPECT_EQ(Next(1), Code(u"A\na"));
    EXPECT_EQ(m_popup.OnButton(kPopupButtonClose, 9.0f) * 10 + m_popup.GetStringIndex(), 239);
    EXPECT_FALSE(m_popup.HoldsText());
    EXPECT_EQ(m_screens->calls, "click click click click click click ");
}

TEST_P(PopupTextTest, ATagListNamesALabelAndAVoiceHeardFromTheDataFolder)
{
    SetMixerOutputFactory(&CMixerManualSink::Open);
    m_world.m_pAudioEngine.reset(static_cast<CAudioEngine*>(CreateAudioDX81(m_world.GetData())));
    ASSERT_EQ(m_world.m_pAudioEngine->Load(MemoryRenderer::Window()), RES_OK);
    m_dir.Write("data/voice.wav", wavfixture::PcmWav(1, 44100, 16, wavfixture::Samples16({8000, 8000})));
    WStrCopy(m_world.GetData()->dataFolder, kMaxPathUnits, m_dir.WideFile("data/").c_str());
    ASSERT_EQ(m_popup.Release(), RES_OK);
    ASSERT_EQ(m_popup.Load(kFixtureScale, kFixtureScale), RES_OK) << "now with a voice";
    m_popup.SetText(2, kGameTable);
    EXPECT_EQ(Next(1), Code(u"Text"));
    EXPECT_NE(CMixerManualSink::Latest()->Pull(1)[0], 0) << "the voice plays";
    m_popup.DrawBackdrop(false, false, false);
    EXPECT_EQ(m_screens->calls, "label1 ");
    // No closing introducer, an unknown tag, a value of 256 units, a label that does not exist.
    for (auto [index, page, label] : std::vector<std::tuple<uint32_t, std::u16string, int32_t>>{
             {3, u"", 0}, {4, u"X=1\\Text", -1}, {6, u"X", -1}, {7, u"Y", -1}}) {
        m_popup.Clear();
        m_popup.SetText(index, kGameTable);
        EXPECT_EQ(Next(1), Code(page));
        EXPECT_EQ(m_popup.GetLabelsIndex(), label);
    }
}

TEST_P(PopupTextTest, FormattedNumbersFillOnlyTheDecimalMarkers)
{
    const int32_t numbers[] = {3, -12};
    m_popup.SetTextFormat(5, kGameTable, numbers, 2);
    EXPECT_EQ(Next(1), Code(u"a3b-12c%d%s%n"));
    m_popup.SetTextFormat(5, kGameTable, numbers, 1);
    EXPECT_EQ(Next(), Code(u"a3b%dc%d%s%n")) << "markers past the numbers stay";
}

// The page's middle lies on the caller's line; however far that line or the page's labels
// record lies, the page stays wholly on the screen.
TEST_P(PopupTextTest, APageCentresOnTheCallersLineAndStaysOnTheScreen)
{
    auto drawnRows = [&](float line) {
        m_popup.OnButton(0, line);
        m_engine->ClearDraws();
        EXPECT_EQ(m_popup.Render(), RES_OK);
        C3DObject* text = m_font->GetTextObject();
        float top = 1e9f, bottom = -1e9f;
        for (uint32_t v = 0; v < m_engine->DrawsOf(text).at(0).vertexCount; ++v) {
            top = std::min(top, ReadFontVertex(text, v).position.y);
            bottom = std::max(bottom, ReadFontVertex(text, v).position.y);
        }
        return std::pair{top, bottom};
    };
    m_popup.SetText(1, kGameTable);
    Next(1);
    const auto [top, bottom] = drawnRows(384.0f);
    EXPECT_NEAR((top + bottom) / 2, 384.0f, 1.0f);
    for (float line : {768.0f, -5000.0f}) {
        const auto [high, low] = drawnRows(line);
        EXPECT_TRUE(high >= 0.0f && low <= 768.0f && low - high == bottom - top) << line;
    }
    m_screens->records[1].values[1] = 100000;
    m_popup.Clear();
    m_popup.SetText(2, kGameTable);
    Next(1);
    EXPECT_LE(drawnRows(384.0f).second, 768.0f) << "a labels record far below";
}

INSTANTIATE_TEST_SUITE_P(FontTypes, PopupTextTest, ::testing::Values(0u, 1u, 2u));

} // namespace
