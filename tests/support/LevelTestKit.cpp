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

CTestLevel::CTestLevel(CWorldData* data, C3DEngine* engine, uint32_t id, uint32_t type) : CLevel(data, engine, id)
{
    m_nType = type;
}

Result CTestLevel::Init()
{
    ++m_nInits;
    return InitStars();
}

Result CTestLevel::AllocRecords()
{
    m_pRecords.reset(new (std::nothrow) CLevelRecord[m_nRecordCount]());
    return m_pRecords ? RES_OK : RES_OUT_OF_MEMORY;
}

CLevelRecord* CTestLevel::GetRecord(uint32_t n)
{
    return n < m_nRecordCount && m_pRecords ? &m_pRecords[n] : nullptr;
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
