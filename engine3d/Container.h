#pragma once
#include <cstdint>

#include "core/LinkedList.h"
#include "core/Vector3.h"
#include "engine3d/Item.h"
#include "engine3d/ResourceName.h"

class C3DObject;
class C3DTexture;

// Kind bits of a container's flags word (the top 8 bits); the low 24 bits are its id.
constexpr uint32_t kContainerKindMask = 0xFF000000u;
constexpr uint32_t kContainerIdMask = 0x00FFFFFFu;
constexpr uint32_t kContainerKindObject = 0x01000000u;
constexpr uint32_t kContainerKindText = 0x02000000u;

// Node of a scene tree. The engine makes, lists and destroys nodes; a node does not own its
// children (each is an entry of the engine's list of its own) nor what it draws with.
class C3DContainer : public C3DItem {
public:
    C3DContainer(CWorldData* data, uint32_t flags, uint8_t groupFlag);
    // Frees the child list's nodes, not the children.
    ~C3DContainer() override;

    virtual uint32_t GetKindBits();
    virtual uint32_t GetId();
    virtual uint32_t IncrementAttachCount();
    virtual uint32_t DecrementAttachCount();
    virtual uint32_t GetAttachCount();

    CLinkedList& GetChildren() { return m_listChildren; }

protected:
    uint32_t m_flags;
    uint8_t m_groupFlag;
    uint32_t m_groupChildCount = 0;
    uint32_t m_attachCount = 0;
    C3DContainer* m_pRoot;
    C3DContainer* m_pGroupHead;
    Vector3 m_position{0.0f, 0.0f, 0.0f};
    Matrix4 m_worldMatrix;
    uint32_t m_colour = 0xFFFFFFFFu;
    float m_hitRect[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // left, top, right, bottom
    uint8_t m_visible = 1;
    CLinkedList m_listChildren;
};

// A node that draws one 3D object, or one part of it.
class C3DContainerObject : public C3DContainer {
public:
    C3DContainerObject(CWorldData* data, uint32_t flags, uint8_t groupFlag)
        : C3DContainer(data, flags, groupFlag)
    {
    }

protected:
    C3DObject* m_pObject = nullptr;
    C3DTexture* m_pTexture = nullptr;
    uint32_t m_part = 0xFFFFFFFFu;  // every part
};

// Routine a text node draws with: position, colour, scaled size pair, alignment, text, context.
using ContainerTextDraw = void (*)(const Vector3* position, uint32_t colour, const Vector2* size, uint16_t align,
                                   const char16_t* text, uintptr_t context);

// A node that draws a text through a caller-supplied routine.
class C3DContainerText : public C3DContainer {
public:
    C3DContainerText(CWorldData* data, uint32_t flags, uint8_t groupFlag) : C3DContainer(data, flags, groupFlag) {}

protected:
    ContainerTextDraw m_pDraw = nullptr;
    uintptr_t m_context = 0;
    float m_widthFactor = 1.0f;
    float m_heightFactor = 1.0f;
    uint16_t m_align = 0;
    uint16_t m_style = 0;
    const char16_t* m_pText = nullptr;  // kept by pointer, or m_ownedText's
    COwnedText m_ownedText;
};
