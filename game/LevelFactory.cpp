#include "game/LevelFactory.h"

namespace {

// The maker of type in a table of makers for the types from first on; null outside the table.
template <typename Maker, size_t N>
Maker* SlotOf(Maker (&makers)[N], uint32_t first, uint32_t type)
{
    return type >= first && type - first < N ? &makers[type - first] : nullptr;
}

template <typename Maker, size_t N>
bool SetMaker(Maker (&makers)[N], uint32_t first, uint32_t type, Maker maker)
{
    Maker* slot = SlotOf(makers, first, type);
    if (!slot)
        return false;
    *slot = maker;
    return true;
}

template <typename Object, typename Maker, size_t N>
std::unique_ptr<Object> Make(const Maker (&makers)[N], uint32_t first, uint32_t type, CWorldData* data,
                             C3DEngine* engine, uint32_t id)
{
    const Maker* maker = SlotOf(makers, first, type);
    return std::unique_ptr<Object>(maker && *maker ? (*maker)(data, engine, id) : nullptr);
}

} // namespace

bool CLevelFactory::SetLevelMaker(uint32_t type, LevelMaker maker)
{
    return SetMaker(m_levelMakers, kFirstLevelType, type, maker);
}

bool CLevelFactory::SetObjectMaker(uint32_t type, LevelObjectMaker maker)
{
    return SetMaker(m_objectMakers, kFirstObjectType, type, maker);
}

std::unique_ptr<CGameLevel> CLevelFactory::MakeLevel(uint32_t type, CWorldData* data, C3DEngine* engine,
                                                     uint32_t id) const
{
    return Make<CGameLevel>(m_levelMakers, kFirstLevelType, type, data, engine, id);
}

std::unique_ptr<CSceneObject3D> CLevelFactory::MakeObject(uint32_t type, CWorldData* data, C3DEngine* engine,
                                                          uint32_t id) const
{
    return Make<CSceneObject3D>(m_objectMakers, kFirstObjectType, type, data, engine, id);
}
