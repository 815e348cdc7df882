#include "core/Math3D.h"
#include "base/WideString.h"
#include "engine3d/Container.h"
#include "engine3d/Object.h"

void C3DContainerObject::DrawObject(Matrix4* matrix)
{
    if (!m_pObject)
        return;
    m_pObject->SetColor(m_colour);
    IgnoreResult(m_pObject->SetMatrixPointer(matrix));
    if (m_part == kAllParts) {
        if (m_pTexture)
            IgnoreResult(m_pObject->SetTextureAll(m_pTexture, 0));
        IgnoreResult(m_pObject->Render());
    } else {
        if (m_pTexture)
            IgnoreResult(m_pObject->SetPartTexture(m_pTexture, m_part, 0));
        IgnoreResult(m_pObject->RenderPart(m_part));
    }
}

void C3DContainerObject::Render(uint32_t arg)
{
    DrawObject(&m_worldMatrix);
    C3DContainer::Render(arg);
}

void C3DContainerObject::RenderWithMatrix(Matrix4* matrix)
{
    DrawObject(matrix);
    C3DContainer::RenderWithMatrix(matrix);
}

void C3DContainerObject::SetObject(C3DObject* object) { m_pObject = object; }

void C3DContainerObject::SetTexture(C3DTexture* texture) { m_pTexture = texture; }

void C3DContainerObject::SetPart(uint32_t part) { m_part = part; }

C3DObject* C3DContainerObject::GetObject() { return m_pObject; }

C3DTexture* C3DContainerObject::GetTexture() { return m_pTexture; }

uint32_t C3DContainerObject::GetPart() { return m_part; }

void C3DContainerText::DrawText()
{
    CMath3D* math = Math();
    if (!m_pDraw || !math)
        return;
    Vector3 scale;
    math->GetScale(&scale, &m_worldMatrix);
    const Vector2 size{scale.x * m_widthFactor, scale.y * m_heightFactor};
    m_pDraw(&m_position, m_colour, &size, m_align, m_pText, m_context);
}

void C3DContainerText::Render(uint32_t arg)
{
    DrawText();
    C3DContainer::Render(arg);
}

void C3DContainerText::RenderWithMatrix(Matrix4* matrix)
{
    DrawText();
    C3DContainer::RenderWithMatrix(matrix);
}

void C3DContainerText::SetDrawRoutine(ContainerTextDraw routine) { m_pDraw = routine; }

void C3DContainerText::SetDrawContext(uintptr_t context) { m_context = context; }

void C3DContainerText::SetScale(float widthFactor, float heightFactor)
{
    m_widthFactor = widthFactor;
    m_heightFactor = heightFactor;
}

void C3DContainerText::SetAlign(uint16_t align) { m_align = align; }

void C3DContainerText::SetStyle(uint16_t style) { m_style = style; }

void C3DContainerText::SetTextPointer(const char16_t* text)
{
    if (text && text == m_ownedText.Get())
        return;  // its own copy: stays owned
    m_ownedText.Clear();
    m_pText = text;
}

void C3DContainerText::SetText(const char16_t* text)
{
    if (!text) {
        m_ownedText.Clear();
    } else {
        const WString copy(text);  // text may be the owned copy itself
        m_ownedText.Set(copy.c_str());
    }
    m_pText = m_ownedText.Get();
}

uint16_t C3DContainerText::GetStyle() { return m_style; }

const char16_t* C3DContainerText::GetText() { return m_pText; }
