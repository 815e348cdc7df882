#include "game/WorldComponentFactory.h"

void CWorldComponentFactory::SetMaker(ComponentKind kind, ComponentMaker maker, ConstructionReader reader)
{
    if (kind < kComponentKindCount)
        m_makers[kind] = {maker, reader};
}

Result CWorldComponentFactory::ReadConstruction(ComponentKind kind, CBaseObject* component, CStream* stream) const
{
    if (kind >= kComponentKindCount || !m_makers[kind].read || !component)
        return RES_FAIL;
    return m_makers[kind].read(component, stream);
}
