#include "engine3d/Container.h"

C3DContainer::C3DContainer(CWorldData* data, uint32_t flags, uint8_t groupFlag)
    : C3DItem(data), m_flags(flags), m_groupFlag(groupFlag), m_pRoot(this), m_pGroupHead(this), m_worldMatrix{}
{
    MakeIdentity(&m_worldMatrix);
}

C3DContainer::~C3DContainer()
{
    for (m_listChildren.GetFirst(); !m_listChildren.IsEmpty();)
        m_listChildren.RemoveCurrent();
}

uint32_t C3DContainer::GetKindBits() { return m_flags & kContainerKindMask; }

uint32_t C3DContainer::GetId() { return m_flags & kContainerIdMask; }

uint32_t C3DContainer::IncrementAttachCount() { return ++m_attachCount; }

uint32_t C3DContainer::DecrementAttachCount()
{
    if (m_attachCount > 0)
        --m_attachCount;
    return m_attachCount;
}

uint32_t C3DContainer::GetAttachCount() { return m_attachCount; }
