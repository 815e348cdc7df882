#include "engine3d/Container.h"

#include "core/Math3D.h"
#include "core/WorldData.h"

namespace {

C3DContainer* NodeAt(const CLinkedList::Node* node) { return ListObject<C3DContainer>(node->value); }

} // namespace

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

CMath3D* C3DContainer::Math() const { return m_pWorldData ? m_pWorldData->math : nullptr; }

void C3DContainer::SetWorld(const Matrix4& world)
{
    m_worldMatrix = world;
    m_position = Vector3{world.m[12], world.m[13], world.m[14]};
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next) {
        C3DContainer* child = NodeAt(n);
        if (child->IsVisible())
            child->UpdateFromParent(&m_worldMatrix);
    }
}

void C3DContainer::UpdateWorldMatrix() { SetWorld(m_matrix); }

void C3DContainer::UpdateFromParent(const Matrix4* parent)
{
    CMath3D* math = Math();
    if (!math || !parent)
        return;
    Matrix4 world;
    math->Multiply(&world, &m_matrix, parent);
    SetWorld(world);
}

void C3DContainer::Render(uint32_t arg)
{
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next) {
        C3DContainer* child = NodeAt(n);
        if (child->IsVisible())
            child->Render(arg);
    }
}

void C3DContainer::RenderWithMatrix(Matrix4* matrix)
{
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next) {
        C3DContainer* child = NodeAt(n);
        if (child->IsVisible())
            child->RenderWithMatrix(matrix);
    }
}

bool C3DContainer::HitTest(const Vector2* point)
{
    if (!point)
        return false;
    return m_position.x - m_hitRect.left < point->x && point->x < m_position.x + m_hitRect.right &&
           m_position.y - m_hitRect.top < point->y && point->y < m_position.y + m_hitRect.bottom;
}

uint32_t C3DContainer::GetKindBits() { return m_flags & kContainerKindMask; }

uint32_t C3DContainer::GetId() { return m_flags & kContainerIdMask; }

Vector3* C3DContainer::GetPosition(Vector3* out)
{
    if (out)
        *out = m_position;
    return out;
}

Matrix4* C3DContainer::GetWorldMatrix() { return &m_worldMatrix; }

void C3DContainer::SetAlpha(uint8_t alpha)
{
    m_colour = (m_colour & 0x00FFFFFFu) | (uint32_t{alpha} << 24);
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next) {
        C3DContainer* child = NodeAt(n);
        if (child->IsVisible())
            child->SetColor(m_colour, 1, 0xFFFFFFFFu);
    }
}

void C3DContainer::SetColor(uint32_t colour, uint8_t onlyIfEqual, uint32_t match)
{
    if (!onlyIfEqual || m_colour == match)
        m_colour = colour;
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next) {
        C3DContainer* child = NodeAt(n);
        if (child->IsVisible())
            child->SetColor(colour, onlyIfEqual, match);
    }
}

uint8_t C3DContainer::GetAlpha() { return static_cast<uint8_t>(m_colour >> 24); }

uint32_t C3DContainer::GetColor() { return m_colour; }

void C3DContainer::GetHitRect(ContainerRect* out)
{
    if (out)
        *out = m_hitRect;
}

void C3DContainer::SetHitRect(float left, float top, float right, float bottom)
{
    m_hitRect = ContainerRect{left, top, right, bottom};
}

void C3DContainer::ClearHitRect() { m_hitRect = ContainerRect{0.0f, 0.0f, 0.0f, 0.0f}; }

void C3DContainer::SetVisible(uint8_t visible)
{
    m_visible = visible;
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next)
        NodeAt(n)->SetVisible(visible);
}

uint8_t C3DContainer::IsVisible() { return m_visible; }

bool C3DContainer::IsInSubtreeOf(const C3DContainer* node) const
{
    for (const C3DContainer* n = this; n; n = n->m_pParent) {
        if (n == node)
            return true;
    }
    return false;
}

Result C3DContainer::AddChild(C3DContainer* child, uint8_t visible)
{
    if (!child || child->m_pParent || IsInSubtreeOf(child))
        return RES_FAIL;
    if (Failed(m_listChildren.AddTail(child)))
        return RES_FAIL;
    child->m_pParent = this;
    child->SetRoot(m_pRoot);
    if (child->IsGroupHead())
        m_pGroupHead->IncrementGroupChildCount();
    else
        child->SetGroupHead(m_pGroupHead);
    child->SetVisible(visible);
    child->IncrementAttachCount();
    return RES_OK;
}

Result C3DContainer::DetachChild(C3DContainer* child)
{
    if (!child || child == this || Failed(m_listChildren.Remove(child)))
        return RES_FAIL;
    if (child->m_pParent == this)
        child->m_pParent = nullptr;
    child->SetRoot(child);
    if (child->IsGroupHead())
        m_pGroupHead->DecrementGroupChildCount();
    else
        child->SetGroupHead(child);
    return RES_OK;
}

Result C3DContainer::RemoveChild(C3DContainer* child)
{
    const Result result = DetachChild(child);
    if (Succeeded(result))
        child->DecrementAttachCount();
    return result;
}

C3DContainer* C3DContainer::FindById(uint32_t id)
{
    id &= kContainerIdMask;
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next) {
        if (C3DContainer* found = NodeAt(n)->FindById(id))
            return found;
    }
    return GetId() == id ? this : nullptr;
}

C3DContainer* C3DContainer::FindAt(const Vector2* point)
{
    for (CLinkedList::Node* n = m_listChildren.Tail(); n; n = n->prev) {
        C3DContainer* child = NodeAt(n);
        if (!child->IsVisible())
            continue;
        if (C3DContainer* found = child->FindAt(point))
            return found;
    }
    return HitTest(point) ? this : nullptr;
}

void C3DContainer::GetChildBounds(ContainerRect* out, uint32_t kindBits)
{
    if (!out)
        return;
    float minX = m_position.x + m_hitRect.right;
    float minY = m_position.y + m_hitRect.bottom;
    float maxX = m_position.x - m_hitRect.left;
    float maxY = m_position.y - m_hitRect.top;
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next) {
        C3DContainer* child = NodeAt(n);
        if (!child->IsVisible() || child->GetKindBits() != kindBits)
            continue;
        Vector3 p;
        child->GetPosition(&p);
        if (p.x < minX)
            minX = p.x;
        if (p.x > maxX)
            maxX = p.x;
        if (p.y < minY)
            minY = p.y;
        if (p.y > maxY)
            maxY = p.y;
    }
    *out = ContainerRect{minX, minY, maxX, maxY};
}

void C3DContainer::SetRoot(C3DContainer* root)
{
    m_pRoot = root;
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next)
        NodeAt(n)->SetRoot(root);
}

void C3DContainer::SetGroupHead(C3DContainer* head)
{
    m_pGroupHead = head;
    for (CLinkedList::Node* n = m_listChildren.Head(); n; n = n->next)
        NodeAt(n)->SetGroupHead(head);
}

uint32_t C3DContainer::IncrementAttachCount() { return ++m_attachCount; }

uint32_t C3DContainer::DecrementAttachCount()
{
    if (m_attachCount > 0)
        --m_attachCount;
    return m_attachCount;
}

uint32_t C3DContainer::GetAttachCount() { return m_attachCount; }

uint8_t C3DContainer::IsGroupHead() { return m_groupFlag; }

uint32_t C3DContainer::IncrementGroupChildCount() { return ++m_groupChildCount; }

uint32_t C3DContainer::DecrementGroupChildCount()
{
    if (m_groupChildCount > 0)
        --m_groupChildCount;
    return m_groupChildCount;
}

uint32_t C3DContainer::GetGroupChildCount() { return m_groupChildCount; }

// The group heads keep nothing that depends on a change below them.
void C3DContainer::NotifyGroupHead() {}
