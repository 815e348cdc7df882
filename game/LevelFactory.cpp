#include "game/LevelFactory.h"

namespace {

constexpr uint32_t kLastLevelType = 0x7FFF;
constexpr uint32_t kLastObjectType = 0xFFFF;

bool InRange(uint32_t type, uint32_t first, uint32_t last) { return type >= first && type <= last; }

// The maker of the type; null without one.
template <typename Maker>
Maker Find(const std::map<uint32_t, Maker>& makers, uint32_t type)
{
    const auto found = makers.find(type);
    return found != makers.end() ? found->second : nullptr;
}

} // namespace

bool CLevelFactory::SetLevelMaker(uint32_t type, LevelMaker maker)
{
    if (!InRange(type, kLevelTypeBase + 1, kLastLevelType))
        return false;
    m_levelMakers[type] = maker;
    return true;
}

bool CLevelFactory::SetObjectMaker(uint32_t type, LevelObjectMaker maker)
{
    if (!InRange(type, kSceneTypeLayeredMenu + 1, kLastObjectType))
        return false;
    m_objectMakers[type] = maker;
    return true;
}

std::unique_ptr<CGameLevel> CLevelFactory::MakeLevel(uint32_t type, CWorldData* data, C3DEngine* engine,
                                                     uint32_t id) const
{
    const LevelMaker maker = Find(m_levelMakers, type);
    return std::unique_ptr<CGameLevel>(maker ? maker(data, engine, id) : nullptr);
}

std::unique_ptr<CSceneObject3D> CLevelFactory::MakeObject(uint32_t type, CWorldData* data, C3DEngine* engine,
                                                          uint32_t id) const
{
    const LevelObjectMaker maker = Find(m_objectMakers, type);
    return std::unique_ptr<CSceneObject3D>(maker ? maker(data, engine, id) : nullptr);
}
