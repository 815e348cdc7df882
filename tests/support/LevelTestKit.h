#pragma once
#include <cstdint>
#include <memory>

#include "game/LevelFactory.h"
#include "levels/Level.h"
#include "levels/LevelWithRecords.h"

// A level type for tests, of any level type code, with the records of the level base. It makes
// no display objects (the tests run without a 3D engine).
class CTestLevel : public CLevelWithRecords<CLevel, CLevelRecord> {
public:
    CTestLevel(CWorldData* data, C3DEngine* engine, uint32_t id, uint32_t type);

    Result Init() override;

    using CLevel::m_nSceneState;
    uint32_t m_nInits = 0;
};

// A timer, labels or tooltip object for tests: reads the scene-object block of its description,
// counts its Init and LoadFiles calls.
class CTestLevelObject : public CSceneObject3D {
public:
    CTestLevelObject(CWorldData* data, C3DEngine* engine, uint32_t id, uint32_t type);

    Result Init() override;
    Result LoadFiles() override;

    uint32_t m_nInits = 0;
    uint32_t m_nFileLoads = 0;
};

// Makers of test levels for the four level types and test objects for the three object types.
void RegisterTestLevelMakers(CLevelFactory& factory);
