#include "game/widgets/Toolbar.h"

#include "engine3d/Container.h"
#include "game/widgets/MenubarActions.h"
#include "tests/game/widgets/WidgetFixture.h"

namespace {

class CRecordedActions : public CMenubarActions {
public:
    void OnMenuButton() override { calls += "menu "; }
    void OnZoomButton() override { calls += "zoom "; }
    void OnTutorialButton() override { calls += "tutorial "; }
    std::string calls;
};

class ToolbarTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(m_toolbar.Load(), RES_OK);
        m_toolbar.SetMaxShown(10);
    }
    ToolbarItem& Item(uint32_t id) { return *m_toolbar.FindItem(id); }
    std::u16string Label(uint32_t id) { return Item(id).label->GetText(); }
    // Items 0 to n - 1, each label `width` wide.
    void AddItems(uint32_t n, float width)
    {
        for (uint32_t id = 0; id < n; ++id) {
            m_toolbar.AddItem(id, false);
            Item(id).labelSize.x = width;
        }
    }
    std::vector<TextDraw> RenderedItems()
    {
        for (uint32_t id = 0; id < 100; ++id) {
            if (ToolbarItem* item = m_toolbar.FindItem(id)) {
                item->label->SetDrawRoutine(RecordText);
                item->fadeLabel->SetDrawRoutine(RecordText);
            }
        }
        s_texts.clear();
        m_toolbar.RenderItems();
        return s_texts;
    }
    std::vector<bool> Shown(uint32_t n)
    {
        std::vector<bool> shown;
        for (uint32_t id = 0; id < n; ++id)
            shown.push_back(m_toolbar.IsItemShown(id));
        return shown;
    }
    std::string Saved(CToolbar& toolbar)
    {
        CStringStream stream;
        EXPECT_EQ(toolbar.SaveToProfile(stream), RES_OK);
        return stream.m_bytes;
    }
    Result Restore(CToolbar& toolbar, const std::string& bytes)
    {
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        return toolbar.LoadFromProfile(stream, 1);
    }

    CToolbar m_toolbar{m_world.GetData()};
};

TEST_P(ToolbarTest, TheRowShowsTheItemsThatEndBeforeTheLimitUpToTheMaximum)
{
    AddItems(5, 200.0f);
    m_toolbar.Layout();
    EXPECT_EQ(Shown(5), (std::vector<bool>{true, true, true, false, false})) << "811 + 200 passes 977";
    const std::vector<TextDraw> texts = RenderedItems();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].position.x + texts[1].position.x + texts[2].position.x, 185.0f + 427.0f + 669.0f);
    EXPECT_EQ(Item(0).labelSize.x, 200.0f) << "a steady frame measures no label";
    EXPECT_EQ(m_toolbar.GetActiveShown(), 3u);
    m_toolbar.SetMaxShown(2);
    m_toolbar.Layout();
    EXPECT_EQ(Shown(5), (std::vector<bool>{true, true, false, false, false}));
    m_toolbar.ClearItems();
    AddItems(1, 200.0f);
    m_toolbar.SetCentre(true);
    m_toolbar.Layout();
    EXPECT_EQ(RenderedItems().at(0).position.x, 531.0f) << "the middle of 85 to 977";
}

TEST_P(ToolbarTest, TheLastObjectOfAKindHighlightsFadesAndOnlyThenGoes)
{
    m_toolbar.AddItem(4, true);
    EXPECT_TRUE(m_toolbar.RemoveFoundItem(4, true)) << "the only item goes at once";
    EXPECT_EQ(m_toolbar.GetItemCount(), 0u);
    AddItems(2, 200.0f);
    EXPECT_FALSE(m_toolbar.RemoveFoundItem(0, true));
    const float width = Item(0).labelSize.x;
    EXPECT_EQ(Item(0).state, kItemHighlight);
    SetFrameFactor(40.0);
    m_toolbar.Layout();
    EXPECT_EQ(Item(0).state, kItemHighlight) << "phase 0.0 is not below 0.0";
    m_toolbar.Layout();
    EXPECT_EQ(Item(0).state, kItemFadeOut);
    std::vector<TextDraw> texts = RenderedItems();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].colour, 0xFFFF0000u) << "only the fade label, in the fade colour";
    EXPECT_EQ(texts[0].size.x, kFixtureScale) << "scaled by phase 1.0";
    SetFrameFactor(10.0);
    m_toolbar.Layout();
    EXPECT_FLOAT_EQ(Item(1).xOffset, 0.75f * width + 42.0f) << "the next item eases left";
    EXPECT_FLOAT_EQ(RenderedItems().at(0).size.x, 0.25f * kFixtureScale);
    m_toolbar.Layout();
    EXPECT_EQ(m_toolbar.GetItemCount(), 1u);
    EXPECT_EQ(m_toolbar.FindItem(0), nullptr);
}

TEST_P(ToolbarTest, LabelsCarryTheCountAndAShorterLabelEasesTheRowLeft)
{
    m_toolbar.AddItem(0, false);
    EXPECT_EQ(Label(0), Code(u"Name"));
    m_toolbar.AddItem(0, false);
    m_toolbar.AddItem(0, false);
    m_toolbar.AddItem(99, false);
    m_toolbar.AddItem(99, false);
    m_toolbar.UpdateItemTexts();
    EXPECT_EQ(Label(0), Code(u"3 x Name")) << "in the charset mode the prefix is remapped, the name is not";
    EXPECT_EQ(Label(99), Code(u"2 x ") + u"MISSING STRING !!!");
    m_toolbar.RemoveFoundItem(0, true);
    const float longer = Item(0).labelSize.x;
    EXPECT_FALSE(m_toolbar.RemoveFoundItem(0, true));
    EXPECT_EQ(Label(0), Code(u"Name"));
    EXPECT_GT(Item(0).widthDelta, 0.0f);
    EXPECT_EQ(Item(0).widthDelta, longer - Item(0).labelSize.x);
    EXPECT_EQ(Item(0).phase, 1.0f);
    EXPECT_FALSE(m_toolbar.RemoveFoundItem(7, true) || m_toolbar.IsItemShown(7) || m_toolbar.FlashItem(7));
    EXPECT_EQ(m_toolbar.GetItemCount(), 2u);
    m_toolbar.SetSpeedScale(0.0f);
    m_toolbar.FlashItem(0);
    m_toolbar.Layout();
    std::vector<TextDraw> texts = RenderedItems();
    ASSERT_GE(texts.size(), 2u);
    const float phase = Item(0).phase;
    EXPECT_EQ(texts[0].colour, 0xFFFFFFu | uint32_t(phase * 255.0f) << 24) << "the label, then the fade label";
    EXPECT_EQ(texts[1].colour, 0xFF0000u | uint32_t((1.0f - phase) * 255.0f) << 24);
    SetFrameFactor(40.0);
    m_toolbar.Layout();
    EXPECT_EQ(Item(0).state, kItemShown) << "the flash ignores the speed scale";
}

TEST_P(ToolbarTest, TextureNamesMustCarryTheirSize)
{
    const uint32_t objects = m_engine->GetObjectCount();
    UseSettings("[TOOLBAR]\nTOOLBAR_TEXTURE_FILE_NAME = textures/toolbar.png\n");
    s_log.clear();
    CToolbar toolbar(m_world.GetData());
    EXPECT_EQ(toolbar.Load(), RES_FAIL);
    EXPECT_EQ(s_log, u"# CToolbar::Load \"textures/toolbar.png\" invalid file format, must be "
                     u"\"name.WidthxHeight.ext\"\n");
    UseSettings("[TOOLBAR]\nTOOLBAR_TEXTURE_FILE_NAME = textures/none.1024x45.png\n");
    EXPECT_EQ(toolbar.Load(), RES_FAIL);
    EXPECT_EQ(std::u16string(m_world.GetData()->errorDetail), u"Missing file: textures/none.1024x45.png");
    EXPECT_EQ(m_engine->GetObjectCount(), objects) << "nothing is left of a failed load";
}

TEST_P(ToolbarTest, TheBarsTakeThePointerAndTheMenubarItsButtons)
{
    for (auto [x, y, on] : {std::tuple{59.9f, 300.0f, true}, {500.0f, 723.01f, true}, {60.0f, 300.0f, false},
                            {500.0f, 723.0f, false}}) {
        SetPointer(0, 0, x, y);
        EXPECT_EQ(m_toolbar.IsPointOnBars(), on) << x << " " << y;
    }
    m_world.m_pToolbar.reset(&m_toolbar);
    EXPECT_EQ(m_world.GetToolbarSize().x * 1000 + m_world.GetToolbarSize().y, 60045.0f);
    m_world.m_pToolbar.release();
    CRecordedActions actions;
    m_toolbar.SetMenubarActions(&actions);
    auto click = [this](float fromY, float toY) {
        SetPointer(30.0f, fromY, 30.0f, toY);
        return m_toolbar.OnMenubarClick();
    };
    EXPECT_EQ(click(505.0f, 505.0f), RES_OK);
    EXPECT_EQ(click(505.0f, 645.0f), RES_FAIL) << "pressed on one button, released on another";
    EXPECT_EQ(click(300.0f, 300.0f), RES_FAIL) << "no button";
    EXPECT_EQ(click(575.0f, 575.0f), RES_OK) << "zoom unavailable: no scene";
    EXPECT_EQ(click(645.0f, 645.0f), RES_OK);
    EXPECT_EQ(actions.calls, "menu tutorial ");
    m_engine->ClearDraws();
    m_toolbar.RenderMenubar();
    std::vector<uint32_t> parts;
    for (const MemoryDraw& draw : m_engine->Draws())
        parts.push_back(draw.part);
    EXPECT_EQ(parts, (std::vector<uint32_t>{0, 0, 2, 3})) << "the strip, then one zoom button of two";

    // A scene that can zoom shows the zoom button in place of the unavailable one.
    m_toolbar.UpdateZoomButton(false);
    EXPECT_EQ(click(575.0f, 575.0f), RES_OK);
    EXPECT_EQ(actions.calls, "menu tutorial zoom ");
    m_engine->ClearDraws();
    m_toolbar.RenderMenubar();
    parts.clear();
    for (const MemoryDraw& draw : m_engine->Draws())
        parts.push_back(draw.part);
    EXPECT_EQ(parts, (std::vector<uint32_t>{0, 0, 1, 3}));
}

TEST_P(ToolbarTest, AProfileSectionRestoresTheItemsExactlyAndRefusesDamage)
{
    AddItems(3, 200.0f);
    m_toolbar.AddItem(1, false);
    m_toolbar.FlashItem(2);
    Item(0).phase = 0.5f, Item(0).xOffset = 3.25f, Item(0).widthDelta = 7.5f;
    m_toolbar.SetMaxShown(4), m_toolbar.SetCentre(true), m_toolbar.SetSpeedScale(1.5f);
    const std::string bytes = Saved(m_toolbar);
    ASSERT_EQ(bytes.size(), 13u + 24u * 3);
    CToolbar copy(m_world.GetData());
    ASSERT_EQ(Restore(copy, bytes), RES_OK);
    EXPECT_EQ(Saved(copy), bytes);
    EXPECT_EQ(std::u16string(copy.FindItem(1)->label->GetText()), Code(u"2 x Other"));
    std::string damaged = bytes;
    damaged[13 + 8] = 5;  // the first item's state
    s_log.clear();
    EXPECT_EQ(Restore(copy, damaged), RES_FAIL);
    EXPECT_FALSE(s_log.empty());
    EXPECT_EQ(Restore(copy, bytes.substr(0, bytes.size() - 1)), RES_FAIL);
    for (char high : {'\x7F', '\xBF'}) {  // the speed scale 1.5 as NaN, as -1.5
        damaged = bytes;
        damaged[12] = high;
        EXPECT_EQ(Restore(copy, damaged), RES_FAIL);
    }
    damaged = bytes;
    damaged[13 + 15] = 0x40;  // the first item's phase: 2.0
    ASSERT_EQ(Restore(copy, damaged), RES_OK);
    EXPECT_EQ(copy.FindItem(0)->phase, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(FontTypes, ToolbarTest, ::testing::Values(0u, 2u));

} // namespace
