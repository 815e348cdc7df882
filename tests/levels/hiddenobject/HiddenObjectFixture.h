#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/Object.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"
#include "modules/Audio.h"
#include "tests/game/widgets/WidgetFixture.h"
#include "tools/LevelFileWriter.h"

// The scene with its state in reach; its ends of the game are counted.
class CTestHiddenLevel : public CLevelVadadiDazidev {
public:
    using CLevelVadadiDazidev::CLevelVadadiDazidev;
    void EndLevel() override { ++m_nEnds; }
    using CLevelVadadiDazidev::m_bDone;
    using CLevelVadadiDazidev::m_nCurrentRecord;
    using CLevelVadadiDazidev::m_nSceneState;
    using CLevelVadadiDazidev::m_QuizOrder;
    int m_nEnds = 0;
};

// A tooltip that notes the object events and completion checks it is given.
class CNotingTooltip : public CGameTooltip {
public:
    using CGameTooltip::CGameTooltip;
    bool OnObjectEvent(uint32_t value, uint32_t object) override { return m_events.emplace_back(value, object), true; }
    bool AllStepsDone() override { return ++m_nChecks, false; }
    Result Update() override { return RES_OK; }
    void Reset() override {}
    void PlayStepSound() override {}
    void Draw() override
    {
        if (m_pDrawOrder)
            m_pDrawOrder->push_back(GetId());
    }
    void RenderObject() override {}
    bool IsHidden() const override { return false; }
    void SetHidden(bool) override {}
    bool IsDone() const override { return false; }
    uint32_t GetSlideState() const override { return m_nSlide; }
    void SetSlideState(uint32_t) override {}
    int32_t GetPendingPage() const override { return kNoPopupPage; }
    void SetPendingPage(int32_t) override {}
    std::vector<std::pair<uint32_t, uint32_t>> m_events;
    int m_nChecks = 0;
    uint32_t m_nSlide = kTooltipFolded;
    std::vector<uint32_t>* m_pDrawOrder = nullptr;  // notes the ids drawn
};

// A 40-unit square part centred at (x, y).
inline CScenePartModel Part(uint32_t phase, uint32_t flags, uint32_t item, float x, float y)
{
    CScenePartModel part;
    part.phase = phase, part.flags = flags, part.itemId = item, part.x = x, part.y = y, part.radius = 20.0f;
    return part;
}

constexpr uint32_t kLive = kPartDrawn | kPartClickable;
constexpr uint16_t kBankSounds = 8;

// The game world on the memory renderer with its toolbar, hint and a bank of counted sounds;
// a scene (level 0 of three) is built from a model, its display and collision objects one
// square per part.
class HiddenObjectTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        if (IsSkipped())
            return;
        CWorldData* data = m_world.GetData();
        m_world.m_pToolbar = std::make_unique<CToolbar>(data);
        ASSERT_EQ(m_world.m_pToolbar->Load(), RES_OK);
        m_world.m_pHint = std::make_unique<CHint>(data);
        ASSERT_EQ(m_world.m_pHint->Load(), RES_OK);
        for (Matrix4& view : Data().m_matView)
            data->math->Identity(&view);
        m_bank = std::make_unique<CCountedBank>(m_world, kBankSounds);
        Data().m_fObjectsFadeOutSpeed = 0.25f;
        m_world.m_pScenes.reset(new std::unique_ptr<CGameLevel>[3]);
        m_world.m_nSceneCount = 3;
        m_world.m_nCurrentScene = 0;
        m_world.m_pTooltips.reset(new std::unique_ptr<CSceneObject3D>[1]);
        m_world.m_pTooltips[0].reset(m_tooltip = new CNotingTooltip(data, m_engine, 0));
        m_world.m_nTooltipCount = 1;
    }
    void TearDown() override
    {
        if (m_noting)
            m_world.m_pMainFont = Data().m_pMainFont = m_font.get();
        if (m_world.m_pScenes && m_world.m_pScenes[0]) {
            EXPECT_EQ(m_world.m_pScenes[0]->Release(), RES_OK);
        }
        m_bank.reset();
        WidgetTest::TearDown();
    }

    // The level of the model, read, with one square per part in both objects.
    // The main font becomes one that notes its texts.
    CNotingFont& NoteTexts()
    {
        m_noting = std::make_unique<CNotingFont>(m_world.GetData(), m_engine);
        m_world.m_pMainFont = Data().m_pMainFont = m_noting.get();
        return *m_noting;
    }
    CTestHiddenLevel& Build(const CHiddenObjectLevelModel& model)
    {
        m_level = new CTestHiddenLevel(m_world.GetData(), m_engine, 0);
        m_world.m_pScenes[0].reset(m_level);
        Describe(*m_level, model);
        return *m_level;
    }
    static void Describe(CLevelVadadiDazidev& level, const CHiddenObjectLevelModel& model)
    {
        const std::string bytes = HiddenObjectLevelBody(model);
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        ASSERT_EQ(stream.Open(), RES_OK);
        EXPECT_EQ(level.LoadDescription(&stream), RES_OK);
        EXPECT_EQ(level.Init(), RES_OK);
        Squares(level.GetDisplayObject(), model.level.scene.parts);
        Squares(level.GetCollisionObject(), model.level.scene.parts);
    }
    static void Squares(C3DObject* object, const std::vector<CScenePartModel>& parts)
    {
        const uint32_t n = static_cast<uint32_t>(parts.size());
        ASSERT_EQ(object->Create(n, 4 * n, 6 * n), RES_OK);
        ASSERT_EQ(object->Lock(), RES_OK);
        for (uint32_t p = 0; p < n; ++p) {
            const float x = parts[p].x, y = parts[p].y, r = parts[p].radius;
            // The diagonal passes just beside the centre, so that a click there is inside.
            const float corners[4][2] = {{x - r, y - r}, {x + r, y - r}, {x + r + 1, y + r}, {x - r, y + r}};
            for (uint32_t c = 0; c < 4; ++c)
                object->SetVertex(4 * p + c, corners[c][0], corners[c][1], 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
            const uint32_t indices[6] = {0, 1, 2, 0, 2, 3};
            for (uint32_t i = 0; i < 6; ++i)
                object->SetIndex(6 * p + i, indices[i]);
            ASSERT_EQ(object->SetPrimitiveGroup(p, 4 * p, 4, 6 * p, 6, 2, kPrimitiveTriangleList, kCullNone,
                                                kPartNumberId),
                      RES_OK);
        }
        ASSERT_EQ(object->Unlock(1), RES_OK);
    }
    // One scene of one record with the parts and the extension.
    static CHiddenObjectLevelModel Scene(std::vector<CScenePartModel> parts, CHiddenObjectRecordModel extension = {})
    {
        CHiddenObjectLevelModel model;
        model.level.scene.parts = std::move(parts);
        model.level.records.resize(1);
        model.extensions = {extension};
        return model;
    }
    // Frames of the in-game step: the toolbar's layout, then the level's update.
    Result Frames(int count)
    {
        Result result = RES_OK;
        for (int n = 0; n < count; ++n) {
            m_world.m_pToolbar->Layout();
            result = m_level->Update();
        }
        return result;
    }
    CToolbar& Toolbar() { return *m_world.m_pToolbar; }
    // The toolbar's items in their order: id and count.
    std::vector<std::pair<uint32_t, uint32_t>> Listed()
    {
        CStringStream saved;
        EXPECT_EQ(Toolbar().SaveToProfile(saved), RES_OK);
        std::vector<std::pair<uint32_t, uint32_t>> items;
        for (size_t at = 13; at + 24 <= saved.m_bytes.size(); at += 24) {
            uint32_t id, count;
            memcpy(&id, &saved.m_bytes[at], 4);
            memcpy(&count, &saved.m_bytes[at + 4], 4);
            items.emplace_back(id, count);
        }
        return items;
    }
    CHiddenObjectRecord& Record(uint32_t n) { return *static_cast<CHiddenObjectRecord*>(m_level->GetRecord(n)); }
    uint32_t Count(uint32_t item) { return Toolbar().FindItem(item) ? Toolbar().FindItem(item)->count : 0; }
    uint32_t Flags(uint32_t part) { return m_level->GetPart(part)->flags; }

    CTestHiddenLevel* m_level = nullptr;
    CNotingTooltip* m_tooltip = nullptr;
    std::unique_ptr<CCountedBank> m_bank;
    std::unique_ptr<CNotingFont> m_noting;
};
