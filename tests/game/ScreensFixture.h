#pragma once
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "base/WideString.h"
#include "core/Log.h"
#include "game/GameComponents.h"
#include "game/GameTimer.h"
#include "game/GameTooltip.h"
#include "game/VadadiDazidevWorld.h"
#include "game/screens/Stars.h"
#include "game/widgets/Hint.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/PrimitiveProbe.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorldDataDefaults.h"
#include "tools/PakWriter.h"
#include "tools/RawFileWriter.h"
#include "world/ModuleRegistry.h"

class CScreensWorld : public CVadadiDazidevWorld {
public:
    using CVadadiDazidevWorld::m_nState;
    using CVadadiDazidevWorld::m_p3DEngine;
    using CVadadiDazidevWorld::m_pAudioEngine;
    using CVadadiDazidevWorld::m_pStars;
    using CVadadiDazidevWorld::m_fZoom;
    using CVadadiDazidevWorld::m_nCurrentScene;
    using CVadadiDazidevWorld::m_nNextScene;
    using CVadadiDazidevWorld::m_nPendingState;
    using CVadadiDazidevWorld::m_nSceneCount;
    using CVadadiDazidevWorld::m_nTooltipCount;
    using CVadadiDazidevWorld::m_pHint;
    using CVadadiDazidevWorld::m_pScenes;
    using CVadadiDazidevWorld::m_pTimer;
    using CVadadiDazidevWorld::m_pTooltips;
};

// The world of the application "Sample" over the game text m_settings and a pak of m_files,
// drawing through a 1024 x 768 memory renderer at frame factor 1; the data folder is the
// temporary folder. The game's log lines are collected.
class ScreensTest : public ::testing::Test {
protected:
    void SetUp() override { SetLogDebugHook([](const char16_t* text) { s_log += text; }); }
    void TearDown() override
    {
        SetLogDebugHook(nullptr);
        s_log.clear();
    }

    void Raw(const std::string& name, const std::string& body) { m_files["_raw.full.Win32/" + name] = RawFileBytes("Sample", body); }
    void Open(uint16_t module = kModuleId3DOpenGL)
    {
        CPakWriter pak;
        for (const auto& [name, bytes] : m_files)
            ASSERT_EQ(pak.Add(name, bytes), RES_OK) << name;
        ASSERT_EQ(pak.Write(m_dir.File("game.pak")), RES_OK);
        m_params = std::make_unique<CParamsText>(m_settings.c_str(), static_cast<uint32_t>(m_settings.size()));
        ASSERT_EQ(m_world.SetParameters(nullptr, m_params.get(), nullptr, m_dir.WideFile("game.pak").c_str(), 0,
                                        FindPackerEntry, nullptr),
                  RES_OK);
        ASSERT_EQ(m_world.GetDataFolder(), RES_OK);
        RegisterGameComponents(m_world.GetComponentFactory());
        SetDefaultWorld(Data(), &m_math, 1024, 768);
        WStrCopy(Data()->dataFolder, kMaxPathUnits, m_dir.WideFile("").c_str());
        Data()->chosenModules[kModule3D].descriptor = FindModuleDescriptor(kModule3D, module);
        Data()->frameFactor = 1.0;
        m_world.m_p3DEngine.reset(new CMemoryEngine(Data()));
        ASSERT_EQ(Engine()->Load(MemoryRenderer::Window()), RES_OK);
    }

    CWorldData* Data() { return m_world.GetData(); }
    CGameData& Game() { return *m_world.GetGameData(); }
    CMemoryEngine* Engine() { return static_cast<CMemoryEngine*>(m_world.m_p3DEngine.get()); }
    uint32_t EngineObjects() { return Engine()->GetObjectCount() + Engine()->GetTextureCount(); }
    const std::vector<MemoryDraw>& Draws() { return Engine()->Draws(); }
    // x, y, u and v of each vertex.
    static std::vector<float> Corners(C3DObject* object)
    {
        std::vector<float> values;
        for (const ProbeVertex& v : TakeSnapshot(object).vertices)
            values.insert(values.end(), {v.position.x, v.position.y, v.uv.x, v.uv.y});
        return values;
    }

    TempDir m_dir;
    ScopedEnv m_appData{"APPDATA", m_dir.File("appdata").c_str()};
    std::string m_settings = "[PATH]\nAPP_NAME = Sample\n";
    std::map<std::string, std::string> m_files;
    std::unique_ptr<CParamsText> m_params;
    CMath3D m_math;
    CScreensWorld m_world;
    static inline std::u16string s_log;
};
