#include "tests/support/LevelTestKit.h"

#include <new>

namespace {

template <uint32_t Type>
CGameLevel* MakeTestLevel(CWorldData* data, C3DEngine* engine, uint32_t id)
{
    return new (std::nothrow) CTestLevel(data, engine, id, Type);
}

template <uint32_t Type>
CSceneObject3D* MakeTestObject(CWorldData* data, C3DEngine* engine, uint32_t id)
{
    return new (std::nothrow) CTestLevelObject(data, engine, id, Type);
}

} // namespace

CTestLevel::CTestLevel(CWorldData* data, C3DEngine* engine, uint32_t id, uint32_t type) : CLevelWithRecords(data, engine, id)
{
    m_nType = type;
}

Result CTestLevel::Init()
{
    ++m_nInits;
    return InitStars();
}

CTestLevelObject::CTestLevelObject(CWorldData* data, C3DEngine* engine, uint32_t id, uint32_t type)
    : CSceneObject3D(data, engine, id)
{
    m_nType = type;
}

Result CTestLevelObject::Init()
{
    ++m_nInits;
    return RES_OK;
}

Result CTestLevelObject::LoadFiles()
{
    ++m_nFileLoads;
    return CSceneObject3D::LoadFiles();
}

void RegisterTestLevelMakers(CLevelFactory& factory)
{
    factory.SetLevelMaker(kLevelTypeHiddenObject, MakeTestLevel<kLevelTypeHiddenObject>);
    factory.SetLevelMaker(kLevelTypeJigsaw, MakeTestLevel<kLevelTypeJigsaw>);
    factory.SetLevelMaker(kLevelTypeShoot, MakeTestLevel<kLevelTypeShoot>);
    factory.SetLevelMaker(kLevelTypeSliding, MakeTestLevel<kLevelTypeSliding>);
    factory.SetObjectMaker(kSceneTypeTimer, MakeTestObject<kSceneTypeTimer>);
    factory.SetObjectMaker(kSceneTypeLabels, MakeTestObject<kSceneTypeLabels>);
    factory.SetObjectMaker(kSceneTypeTooltip, MakeTestObject<kSceneTypeTooltip>);
}
