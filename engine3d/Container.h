#pragma once
#include <cstdint>

#include "core/LinkedList.h"
#include "base/Result.h"
#include "core/Vector3.h"
#include "engine3d/Item.h"
#include "engine3d/ResourceName.h"

class C3DEngine;
class C3DObject;
class C3DTexture;
class CMath3D;

// Kind bits of a container's flags word (the top 8 bits); the low 24 bits are its id.
constexpr uint32_t kContainerKindMask = 0xFF000000u;
constexpr uint32_t kContainerIdMask = 0x00FFFFFFu;
constexpr uint32_t kContainerKindObject = 0x01000000u;
constexpr uint32_t kContainerKindText = 0x02000000u;

// Hit rectangle extents around a node's world position.
struct ContainerRect {
    float left, top, right, bottom;
};

// Node of a scene tree. The engine makes, lists and destroys nodes; a node does not own its
// children (each is an entry of the engine's list of its own) nor what it draws with.
// A node has at most one parent: adding a node that already has one, or adding a node under
// itself or its own descendant, is refused. World matrices follow only UpdateWorldMatrix.
class C3DContainer : public C3DItem {
public:
    C3DContainer(CWorldData* data, uint32_t flags, uint8_t groupFlag);
    // Frees the child list's nodes, not the children.
    ~C3DContainer() override;

    // Root form: world matrix := own matrix, then UpdateFromParent of each visible child.
    virtual void UpdateWorldMatrix();
    // Draws the visible children in list order, each followed by its subtree.
    virtual void Render(uint32_t arg);
    virtual void RenderWithMatrix(Matrix4* matrix);
    // Strictly inside the hit rectangle around the world position.
    virtual bool HitTest(const Vector2* point);
    virtual uint32_t GetKindBits();
    virtual uint32_t GetId();
    virtual Vector3* GetPosition(Vector3* out);
    virtual Matrix4* GetWorldMatrix();
    // Own alpha, then SetColor(new colour, 1, 0xFFFFFFFF) of each visible child: only pure
    // white descendants take the new colour.
    virtual void SetAlpha(uint8_t alpha);
    // Takes the colour unless onlyIfEqual is set and the colour is not match; passed on
    // unchanged to each visible child.
    virtual void SetColor(uint32_t colour, uint8_t onlyIfEqual, uint32_t match);
    virtual uint8_t GetAlpha();
    virtual uint32_t GetColor();
    virtual void GetHitRect(ContainerRect* out);
    virtual void SetHitRect(float left, float top, float right, float bottom);
    virtual void ClearHitRect();
    // The node and every descendant.
    virtual void SetVisible(uint8_t visible);
    virtual uint8_t IsVisible();
    // Appends a detached node; it takes this tree's root (and group head unless it heads a
    // group), the visibility given, and one more attach. RES_FAIL with no change when the
    // child is null, this node, an ancestor of it, or already has a parent.
    virtual Result AddChild(C3DContainer* child, uint8_t visible);
    // Unlinks a child: it becomes its own root and drops one attach. RES_FAIL when it is not one.
    virtual Result RemoveChild(C3DContainer* child);
    // Depth first, first child first, visible or not; the node itself last. Low 24 bits count.
    virtual C3DContainer* FindById(uint32_t id);
    // Last visible child first, its subtree before it; the node itself last; null when nothing hits.
    virtual C3DContainer* FindAt(const Vector2* point);
    // Extent of the world positions of the visible children of the given kind, starting from
    // the node's own hit rectangle turned inside out: min x, min y, max x, max y.
    virtual void GetChildBounds(ContainerRect* out, uint32_t kindBits);
    // World matrix := own matrix x parent, then the visible children.
    virtual void UpdateFromParent(const Matrix4* parent);
    virtual void SetRoot(C3DContainer* root);
    virtual void SetGroupHead(C3DContainer* head);
    virtual uint32_t IncrementAttachCount();
    virtual uint32_t DecrementAttachCount();
    virtual uint32_t GetAttachCount();
    virtual uint8_t IsGroupHead();
    virtual uint32_t IncrementGroupChildCount();
    virtual uint32_t DecrementGroupChildCount();
    virtual uint32_t GetGroupChildCount();
    virtual void NotifyGroupHead();

    C3DContainer* GetParent() const { return m_pParent; }
    C3DContainer* GetRoot() const { return m_pRoot; }
    C3DContainer* GetGroupHead() const { return m_pGroupHead; }
    CLinkedList& GetChildren() { return m_listChildren; }

protected:
    CMath3D* Math() const;
    // Sets the world matrix and position, then passes the world matrix on to the visible children.
    void SetWorld(const Matrix4& world);

    uint32_t m_flags;
    uint8_t m_groupFlag;
    uint32_t m_groupChildCount = 0;
    uint32_t m_attachCount = 0;
    C3DContainer* m_pRoot;
    C3DContainer* m_pGroupHead;
    C3DContainer* m_pParent = nullptr;
    Vector3 m_position{0.0f, 0.0f, 0.0f};
    Matrix4 m_worldMatrix;
    uint32_t m_colour = 0xFFFFFFFFu;
    ContainerRect m_hitRect{0.0f, 0.0f, 0.0f, 0.0f};
    uint8_t m_visible = 1;
    CLinkedList m_listChildren;

private:
    friend class C3DEngine;

    bool IsInSubtreeOf(const C3DContainer* node) const;
    // RemoveChild without the attach count: the engine's destroy drops that itself.
    Result DetachChild(C3DContainer* child);
};

// A node that draws one 3D object, or one part of it. Drawing points the object's current
// matrix at the node's world matrix (or the matrix given) and leaves it there.
class C3DContainerObject : public C3DContainer {
public:
    C3DContainerObject(CWorldData* data, uint32_t flags, uint8_t groupFlag)
        : C3DContainer(data, flags, groupFlag)
    {
    }

    void Render(uint32_t arg) override;
    void RenderWithMatrix(Matrix4* matrix) override;
    virtual void SetObject(C3DObject* object);
    virtual void SetTexture(C3DTexture* texture);
    // kAllParts: the whole object.
    virtual void SetPart(uint32_t part);
    virtual C3DObject* GetObject();
    virtual C3DTexture* GetTexture();
    virtual uint32_t GetPart();

protected:
    void DrawObject(Matrix4* matrix);

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

    void Render(uint32_t arg) override;
    void RenderWithMatrix(Matrix4* matrix) override;
    virtual void SetDrawRoutine(ContainerTextDraw routine);
    virtual void SetDrawContext(uintptr_t context);
    virtual void SetScale(float widthFactor, float heightFactor);
    virtual void SetAlign(uint16_t align);
    virtual void SetStyle(uint16_t style);
    // Kept without copying; the caller keeps it alive. An owned earlier text is freed.
    virtual void SetTextPointer(const char16_t* text);
    // Copied and owned. An owned earlier text is freed.
    virtual void SetText(const char16_t* text);
    virtual uint16_t GetStyle();
    virtual const char16_t* GetText();
    uint16_t GetAlign() const { return m_align; }
    // The width and height factors of SetScale.
    Vector2 GetScale() const { return {m_widthFactor, m_heightFactor}; }

protected:
    void DrawText();

    ContainerTextDraw m_pDraw = nullptr;
    uintptr_t m_context = 0;
    float m_widthFactor = 1.0f;
    float m_heightFactor = 1.0f;
    uint16_t m_align = 0;
    uint16_t m_style = 0;
    const char16_t* m_pText = nullptr;  // kept by pointer, or m_ownedText's
    COwnedText m_ownedText;
};
