#include "engine3d/Frame.h"

#include <cmath>

#include "core/Vector3.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"

namespace {

constexpr uint32_t kFrameFlagsA = 0x28010;
constexpr uint32_t kFrameFlagsB = 0x20C29;

// Nearest integer, halves going down.
float RoundHalfDown(float x) { return std::ceil(x - 0.5f); }

// Whole repeats of a texture of the given size over a span; at least 1, and 1 without a size.
float Repeats(float span, uint16_t textureSize)
{
    if (textureSize == 0)
        return 1.0f;
    const float count = RoundHalfDown(span / static_cast<float>(textureSize));
    return count < 1.0f ? 1.0f : count;
}

} // namespace

C3DFrame::C3DFrame(CWorldData* data, C3DEngine* engine) : C3DItem(data), m_pEngine(engine) {}

Result C3DFrame::Release()
{
    if (m_pObject)
        IgnoreResult(m_pEngine->DestroyObject(m_pObject));
    m_pObject = nullptr;
    return RES_OK;
}

Result C3DFrame::Render()
{
    if (!m_pObject)
        return RES_FAIL;
    m_pObject->SetColor(m_colour);
    IgnoreResult(m_pObject->SetMatrixPointer(m_pMatrix));
    return m_pObject->Render();
}

void C3DFrame::SetAlpha(uint8_t alpha) { m_colour = (uint32_t{alpha} << 24) | (m_colour & 0xFFFFFFu); }

void C3DFrame::SetColor(uint32_t argb) { m_colour = argb; }

Result C3DFrame::Create(C3DTexture* const* textures)
{
    IgnoreResult(Release());
    C3DObject* object = m_pEngine->CreateObject(kFrameFlagsA, kFrameFlagsB);
    if (!object)
        return RES_FAIL;
    if (Failed(object->Create(kFrameParts, 4 * kFrameParts, 4 * kFrameParts))) {
        IgnoreResult(m_pEngine->DestroyObject(object));
        return RES_FAIL;
    }
    IgnoreResult(object->Lock());
    object->ResetIndices();
    for (uint32_t i = 0; i < kFrameParts; ++i) {
        IgnoreResult(object->SetPrimitiveGroup(i, 4 * i, 4, 4 * i, 4, 2, kPrimitiveTriangleStrip, kCullCounterClockwise,
                                               kPartNumberId));
        object->FillIndexRange(4 * i, 4);
        IgnoreResult(object->SetPartTexture(textures ? textures[i] : nullptr, i, 0));
    }
    IgnoreResult(object->Unlock(0));
    m_pObject = object;
    return RES_OK;
}

void C3DFrame::WriteQuad(uint32_t part, float x0, float y0, float x1, float y1, float u1, float v1, uint32_t colour)
{
    for (uint32_t corner = 0; corner < 4; ++corner) {
        const bool right = corner & 1;
        const bool bottom = corner & 2;
        Vector3 p;
        Vector3Set(&p, right ? x1 : x0, bottom ? y1 : y0, 0.0f);
        m_pObject->SetVertex(4 * part + corner, p.x, p.y, p.z, colour, right ? u1 : 0.0f, bottom ? v1 : 0.0f, 0.0f,
                             0.0f, 0.0f, 0);
    }
}

void C3DFrame::CollapseQuad(uint32_t part, uint32_t colour)
{
    for (uint32_t corner = 0; corner < 4; ++corner) {
        Vector3 p;
        Vector3Set(&p, 0.0f, 0.0f, 0.0f);
        m_pObject->SetVertex(4 * part + corner, p.x, p.y, p.z, colour, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0);
    }
}

Result C3DFrame::Layout(float* outRect, float width, float height, float border, uint32_t colour)
{
    if (!m_pObject)
        return RES_FAIL;
    const float left = RoundHalfDown(-width / 2.0f);
    const float top = RoundHalfDown(-height / 2.0f);
    const float right = RoundHalfDown(width / 2.0f);
    const float bottom = RoundHalfDown(height / 2.0f);
    const float b = RoundHalfDown(border);

    const C3DTexture* edge = m_pObject->GetTexture(kFrameTop, 0);
    const float nx = Repeats((right - b) - (left + b), edge ? edge->GetWidth() : 0);
    const float ny = Repeats((bottom - b) - (top + b), edge ? edge->GetHeight() : 0);
    const float xs[4] = {left, left + b, right - b, right};
    const float ys[4] = {top, top + b, bottom - b, bottom};
    const float us[3] = {1.0f, nx, 1.0f};
    const float vs[3] = {1.0f, ny, 1.0f};
    const bool middleColumn = right - b > left + b;
    const bool middleRow = bottom - b > top + b;

    IgnoreResult(m_pObject->Lock());
    for (uint32_t row = 0; row < 3; ++row) {
        for (uint32_t column = 0; column < 3; ++column) {
            const uint32_t part = 3 * row + column;
            if ((row == 1 && !middleRow) || (column == 1 && !middleColumn))
                CollapseQuad(part, colour);
            else
                WriteQuad(part, xs[column], ys[row], xs[column + 1], ys[row + 1], us[column], vs[row], colour);
        }
    }
    IgnoreResult(m_pObject->Unlock(0));

    m_width = width;
    m_height = height;
    if (outRect) {
        outRect[0] = left;
        outRect[1] = top;
        outRect[2] = right;
        outRect[3] = bottom;
    }
    return RES_OK;
}
