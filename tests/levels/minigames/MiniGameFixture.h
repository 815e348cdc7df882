#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/Math3D.h"
#include "engine3d/Object.h"
#include "game/widgets/Hint.h"
#include "tests/game/GameWorldFixture.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/WorldDataDefaults.h"
#include "levels/Level.h"
#include "tools/ByteWriter.h"
#include "tools/MiniGameFileWriter.h"
#include "tools/ObjectFileWriter.h"

// A rectangle of the display and collision objects, with its scene part.
struct CQuadPart {
    float x0, y0, x1, y1;
    uint32_t phase = 0;
    uint32_t flags = kPartDrawn | kPartClickable;
    float radius = 0.0f;
};

// A level type made reachable for tests: its display and collision objects come from quads
// instead of the pak.
template <class Level>
class CMiniGameUnderTest : public Level {
public:
    using Level::Level;
    using Level::m_nSceneState;
    using Level::m_bDone;
    using Level::m_bTimerShown;

    Result LoadQuads(const std::vector<CQuadPart>& quads)
    {
        C3dxModel model;
        for (const CQuadPart& q : quads) {
            const uint32_t first = static_cast<uint32_t>(model.vertices.size());
            C3dxPart part;
            part.record = {0xFFFFFFFFu, first, 4, static_cast<uint32_t>(model.indices.size()), 6, 2, 1, 0};
            model.parts.push_back(part);
            const float corners[4][4] = {{q.x0, q.y0, 0, 0}, {q.x0, q.y1, 0, 1}, {q.x1, q.y0, 1, 0}, {q.x1, q.y1, 1, 1}};
            for (const auto& c : corners)
                model.vertices.push_back(C3dxVertex{{c[0], c[1], 0}, {0, 0, 1}, 0xFFFFFFFFu, 0, {c[2], c[3]}});
            for (uint32_t i : {0u, 1u, 2u, 2u, 1u, 3u})
                model.indices.push_back(i);
        }
        const std::string bytes = Make3dxBytes(model, 16, kWrite3dxEverything);
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
        const auto size = static_cast<uint32_t>(bytes.size());
        if (Failed(this->m_pDisplay->LoadFromAddress(data, size, u"display.3dx")) ||
            Failed(this->m_pCollision->LoadFromAddress(data, size, u"collision.3dx")))
            return RES_FAIL;
        return RES_OK;
    }
};

// A world of three scenes with a memory renderer, the hint button and the tutorial pop-up;
// levels are read from writer models and given quad objects.
class MiniGameTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        SetDefaultWorld(m_world.GetData(), &m_math, 1024, 768);
        m_world.m_p3DEngine.reset(new CMemoryEngine(m_world.GetData()));
        ASSERT_EQ(Engine()->Load(MemoryRenderer::Window()), RES_OK);
        m_world.m_nSceneCount = 3;
        m_world.GetData()->frameFactor = 1.0;
        RandomSeed(m_world.GetData()->random, 11);
        for (Matrix4& view : Data().m_matView)
            view = Identity();
    }

    void TearDown() override
    {
        for (auto& level : m_levels)
            EXPECT_EQ(level->Release(), RES_OK);
        m_levels.clear();
        if (m_world.m_pHint) {
            EXPECT_EQ(m_world.m_pHint->Release(), RES_OK);
        }
        m_world.m_pHint.reset();
        if (m_world.m_pPopupTuto) {
            EXPECT_EQ(m_world.m_pPopupTuto->Release(), RES_OK);
        }
        m_world.m_pPopupTuto.reset();
        if (Engine()) {
            EXPECT_EQ(Engine()->Unload(), RES_OK);
        }
        GameWorldTest::TearDown();
    }

    static Matrix4 Identity()
    {
        Matrix4 m{};
        m.m[0] = m.m[5] = m.m[10] = m.m[15] = 1.0f;
        return m;
    }

    // A hint button of nine hints at most, holding count.
    void GiveHint(uint16_t count) { m_world.m_pHint = HintHolding(m_world.GetData(), count); }
    CHint* Hint() { return m_world.m_pHint.get(); }

    CMemoryEngine* Engine() { return static_cast<CMemoryEngine*>(m_world.m_p3DEngine.get()); }

    // The scene block of the quads, for a level model.
    static CSceneBlockModel Scene(const std::vector<CQuadPart>& quads)
    {
        CSceneBlockModel scene;
        for (const CQuadPart& q : quads) {
            CScenePartModel part;
            part.phase = q.phase;
            part.flags = q.flags;
            part.x = (q.x0 + q.x1) / 2, part.y = (q.y0 + q.y1) / 2;
            part.radius = q.radius;
            scene.parts.push_back(part);
        }
        return scene;
    }

    template <class Level>
    Result Describe(Level& level, const std::string& body)
    {
        CStreamMemory stream(kStreamRead, body.data(), static_cast<uint32_t>(body.size()));
        EXPECT_EQ(stream.Open(), RES_OK);
        return level.LoadDescription(&stream);
    }

    // A level read from the body, initialised and given the quads; null on any failure.
    template <class Level>
    CMiniGameUnderTest<Level>* Make(const std::string& body, const std::vector<CQuadPart>& quads)
    {
        auto level = std::make_unique<CMiniGameUnderTest<Level>>(m_world.GetData(), Engine(), 0);
        if (Failed(Describe(*level, body)) || Failed(level->Init()) || Failed(level->LoadQuads(quads)))
            return nullptr;
        m_levels.push_back(std::unique_ptr<CSceneObject>(level.get()));
        return level.release();
    }

    std::string Saved(CSceneObject& level)
    {
        CStringStream out;
        EXPECT_EQ(level.SaveProgress(&out), RES_OK);
        return out.m_bytes;
    }

    template <class Level>
    Result Restore(Level& level, const std::string& bytes)
    {
        CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
        EXPECT_EQ(stream.Open(), bytes.empty() ? RES_FAIL : RES_OK) << "a memory stream opens on bytes only";
        return level.LoadProgress(&stream, 1);
    }

    // What the level base writes before a mini-game's own fields.
    static std::string SavedBase(CLevel& level)
    {
        CStringStream out;
        EXPECT_EQ(level.CLevel::SaveProgress(&out), RES_OK);
        return out.m_bytes;
    }

    // A board's cells as they lie in memory, then whether each of its Buttons is shown.
    template <uint32_t Buttons, class Level>
    static std::string BoardState(const Level& level)
    {
        std::string bytes;
        for (uint32_t n = 0; n < level.GetCells().CellCount(); ++n)
            bytes.append(reinterpret_cast<const char*>(level.GetCells().Cell(n)), sizeof(*level.GetCells().Cell(n)));
        for (uint32_t button = 0; button < Buttons; ++button)
            bytes += level.IsButtonShown(button) ? '1' : '0';
        return bytes;
    }
    // The saved bytes of the shown flags of a level's Buttons.
    template <uint32_t Buttons, class Level>
    static void WriteButtons(CByteWriter& out, const Level& level)
    {
        for (uint32_t button = 0; button < Buttons; ++button)
            out.U8(level.IsButtonShown(button) ? 1 : 0);
    }

    // Every cut of a saved section is refused, and so is the section with bytes replaced at an
    // offset from its end; state() (what the level shows of its own fields) stays as it was.
    template <class Level, class State>
    void ExpectDamageRefused(Level& level, const std::string& saved, State state,
                             std::initializer_list<std::pair<size_t, std::string>> damages)
    {
        const auto before = state();
        for (size_t cut = 0; cut < saved.size(); ++cut) {
            EXPECT_EQ(Restore(level, saved.substr(0, cut)), RES_FAIL) << "cut at " << cut;
            EXPECT_TRUE(state() == before) << "cut at " << cut;
        }
        for (const auto& [fromEnd, bytes] : damages) {
            std::string damaged = saved;
            damaged.replace(saved.size() - fromEnd, bytes.size(), bytes);
            EXPECT_EQ(Restore(level, damaged), RES_FAIL) << fromEnd << " bytes from the end";
            EXPECT_TRUE(state() == before) << fromEnd << " bytes from the end";
        }
    }

    CMath3D m_math;
    std::vector<std::unique_ptr<CSceneObject>> m_levels;
};
