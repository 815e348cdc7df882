#include "engine3d/SystemMemoryStorage.h"

#include <cstdlib>
#include <cstring>

#include "engine3d/ObjectTypes.h"

namespace {

// format, size, position, normal, colour, specular, uv, uv2
constexpr VertexLayout kLayouts[] = {
    {kFormatNormalTex, 40, 0, 12, 24, 28, 32, -1},
    {kFormatNormalTex2, 48, 0, 12, 24, 28, 32, 40},
    {kFormatColor, 16, 0, -1, 12, -1, -1, -1},
    {kFormatColorTex, 24, 0, -1, 12, -1, 16, -1},
};

uint32_t SwapRedBlue(uint32_t c)
{
    return (c & 0xFF00FF00u) | ((c & 0x00FF0000u) >> 16) | ((c & 0x000000FFu) << 16);
}

void WriteU32(uint8_t* p, uint32_t v) { memcpy(p, &v, sizeof v); }

uint32_t ReadU32(const uint8_t* p)
{
    uint32_t v;
    memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

const VertexLayout* VertexLayoutForFlags(uint32_t flagsA)
{
    for (const VertexLayout& layout : kLayouts) {
        if (flagsA & layout.format)
            return &layout;
    }
    return nullptr;
}

CLockableArray::~CLockableArray()
{
    Free();
}

Result CLockableArray::Allocate(uint32_t elementSize, uint32_t count)
{
    Free();
    if (count > 0) {
        m_data = static_cast<uint8_t*>(calloc(count, elementSize));
        if (!m_data)
            return RES_OUT_OF_MEMORY;
    }
    m_elementSize = elementSize;
    m_count = count;
    return RES_OK;
}

void CLockableArray::Free()
{
    free(m_data);
    m_data = nullptr;
    m_locked = nullptr;
    m_isLocked = false;
    m_count = 0;
}

uint8_t* CLockableArray::Lock()
{
    m_locked = m_data;
    m_isLocked = true;
    return m_locked;
}

void CLockableArray::Unlock()
{
    m_locked = nullptr;
    m_isLocked = false;
}

Result CVertexStorage::Allocate(const VertexLayout* layout, uint32_t count)
{
    if (!layout) {
        m_array.Free();
        return RES_FAIL;
    }
    const Result result = m_array.Allocate(layout->size, count);
    if (Succeeded(result))
        m_layout = layout;
    return result;
}

bool CVertexStorage::Usable(uint32_t i) const { return m_array.Reaches(i); }

uint8_t* CVertexStorage::Field(uint32_t i, int32_t offset) const
{
    return m_array.Element(i) + static_cast<size_t>(offset);
}

uint32_t CVertexStorage::StoredColour(uint32_t argb) const
{
    return m_convention == StorageConvention::OpenGL ? SwapRedBlue(argb) : argb;
}

void CVertexStorage::WriteUV(uint32_t i, int32_t offset, const Vector2& uv)
{
    const float v = m_convention == StorageConvention::OpenGL ? 1.0f - uv.y : uv.y;
    const float pair[2] = {uv.x, v};
    memcpy(Field(i, offset), pair, sizeof pair);
}

bool CVertexStorage::ReadUV(uint32_t i, int32_t offset, Vector2* out) const
{
    if (!Usable(i))
        return false;
    if (offset < 0) {
        *out = Vector2{0.0f, 0.0f};
        return true;
    }
    memcpy(out, Field(i, offset), sizeof *out);
    if (m_convention == StorageConvention::OpenGL)
        out->y = 1.0f - out->y;
    return true;
}

bool CVertexStorage::SetVertex(uint32_t i, float x, float y, float z, uint32_t colour, float u, float v, float nx,
                               float ny, float nz, uint32_t specular)
{
    if (!Usable(i))
        return false;
    SetPosition(i, Vector3{x, y, z});
    SetNormal(i, Vector3{nx, ny, nz});
    SetColour(i, colour);
    SetSpecular(i, specular);
    SetUV(i, Vector2{u, v});
    SetUV2(i, Vector2{u, v});
    return true;
}

bool CVertexStorage::SetPosition(uint32_t i, const Vector3& p)
{
    if (!Usable(i))
        return false;
    memcpy(Field(i, m_layout->position), &p, sizeof p);
    return true;
}

bool CVertexStorage::SetNormal(uint32_t i, const Vector3& n)
{
    if (!Usable(i))
        return false;
    if (m_layout->normal >= 0)
        memcpy(Field(i, m_layout->normal), &n, sizeof n);
    return true;
}

bool CVertexStorage::SetColour(uint32_t i, uint32_t argb)
{
    if (!Usable(i))
        return false;
    WriteU32(Field(i, m_layout->colour), StoredColour(argb));
    return true;
}

bool CVertexStorage::SetSpecular(uint32_t i, uint32_t argb)
{
    if (!Usable(i))
        return false;
    if (m_layout->specular >= 0)
        WriteU32(Field(i, m_layout->specular), argb);
    return true;
}

bool CVertexStorage::SetUV(uint32_t i, const Vector2& uv)
{
    if (!Usable(i))
        return false;
    if (m_layout->uv >= 0)
        WriteUV(i, m_layout->uv, uv);
    return true;
}

bool CVertexStorage::SetUV2(uint32_t i, const Vector2& uv)
{
    if (!Usable(i))
        return false;
    if (m_layout->uv2 >= 0)
        WriteUV(i, m_layout->uv2, uv);
    return true;
}

bool CVertexStorage::GetPosition(uint32_t i, Vector3* out) const
{
    if (!Usable(i))
        return false;
    memcpy(out, Field(i, m_layout->position), sizeof *out);
    return true;
}

bool CVertexStorage::GetNormal(uint32_t i, Vector3* out) const
{
    if (!Usable(i))
        return false;
    if (m_layout->normal < 0)
        *out = Vector3{0.0f, 0.0f, 0.0f};
    else
        memcpy(out, Field(i, m_layout->normal), sizeof *out);
    return true;
}

bool CVertexStorage::GetColour(uint32_t i, uint32_t* out) const
{
    if (!Usable(i))
        return false;
    *out = StoredColour(ReadU32(Field(i, m_layout->colour)));
    return true;
}

bool CVertexStorage::GetSpecular(uint32_t i, uint32_t* out) const
{
    if (!Usable(i))
        return false;
    *out = m_layout->specular < 0 ? 0 : ReadU32(Field(i, m_layout->specular));
    return true;
}

bool CVertexStorage::GetUV(uint32_t i, Vector2* out) const { return ReadUV(i, m_layout ? m_layout->uv : -1, out); }

bool CVertexStorage::GetUV2(uint32_t i, Vector2* out) const { return ReadUV(i, m_layout ? m_layout->uv2 : -1, out); }

Result CIndexStorage::Allocate(uint8_t elementSize, uint32_t count)
{
    if (elementSize != 2 && elementSize != 4) {
        m_array.Free();
        return RES_FAIL;
    }
    return m_array.Allocate(elementSize, count);
}

bool CIndexStorage::Set(uint32_t position, uint32_t value)
{
    if (!m_array.Reaches(position))
        return false;
    uint8_t* p = m_array.Element(position);
    if (m_array.ElementSize() == 2) {
        const uint16_t v = static_cast<uint16_t>(value);
        memcpy(p, &v, sizeof v);
    } else {
        memcpy(p, &value, sizeof value);
    }
    return true;
}

bool CIndexStorage::Get(uint32_t position, uint32_t* out) const
{
    if (!m_array.Reaches(position))
        return false;
    const uint8_t* p = m_array.Element(position);
    if (m_array.ElementSize() == 2) {
        uint16_t v;
        memcpy(&v, p, sizeof v);
        *out = v;
    } else {
        memcpy(out, p, sizeof *out);
    }
    return true;
}
