#include "engine3d/Engine.h"

#include <new>

#include "engine3d/Container.h"

namespace {

uint32_t ContainerFlags(uint32_t flags, uint32_t kind)
{
    return (flags & kContainerIdMask) | kind;
}

} // namespace

C3DContainer* C3DEngine::AddContainer(C3DContainer* container)
{
    if (container && Succeeded(m_listContainer.AddTail(container)))
        return container;
    delete container;
    m_pWorldData->lastError = RES_OUT_OF_MEMORY;
    return nullptr;
}

C3DContainer* C3DEngine::CreateContainer(uint32_t flags, uint32_t parameter)
{
    return AddContainer(
        new (std::nothrow) C3DContainer(m_pWorldData, ContainerFlags(flags, 0), static_cast<uint8_t>(parameter)));
}

C3DContainer* C3DEngine::CreateContainerObject(uint32_t flags, uint32_t parameter)
{
    return AddContainer(new (std::nothrow) C3DContainerObject(
        m_pWorldData, ContainerFlags(flags, kContainerKindObject), static_cast<uint8_t>(parameter)));
}

C3DContainer* C3DEngine::CreateContainerText(uint32_t flags, uint32_t parameter)
{
    return AddContainer(new (std::nothrow) C3DContainerText(
        m_pWorldData, ContainerFlags(flags, kContainerKindText), static_cast<uint8_t>(parameter)));
}

Result C3DEngine::ClearContainer(C3DContainer* container)
{
    if (!container)
        return RES_FAIL;
    CLinkedList& children = container->GetChildren();
    while (!children.IsEmpty()) {
        C3DContainer* child = ListObject<C3DContainer>(children.Head()->value);
        if (Failed(container->DetachChild(child))) {
            IgnoreResult(children.Remove(child));  // a node listed under itself: only the link goes
            continue;
        }
        IgnoreResult(DestroyContainer(child));
    }
    return RES_OK;
}

Result C3DEngine::DestroyContainer(C3DContainer* container)
{
    if (!container)
        return RES_FAIL;
    IgnoreResult(ClearContainer(container));
    if (C3DContainer* parent = container->GetParent())
        IgnoreResult(parent->DetachChild(container));
    if (container->GetAttachCount() != 0 && container->DecrementAttachCount() != 0)
        return RES_FAIL;
    const uint32_t kind = container->GetKindBits();
    if (kind != 0 && !(kind & (kContainerKindObject | kContainerKindText)))
        return RES_FAIL;
    if (Failed(m_listContainer.Remove(container)))
        return RES_FAIL;
    delete container;
    return RES_OK;
}
