#include "backends/opengl/ObjectIndexOpenGL.h"

#include <GL/glew.h>

#include <cstdlib>
#include <cstring>

#include "backends/opengl/OpenGLHelpers.h"
#include "core/WorldData.h"

C3DObjectIndexBaseOpenGL::~C3DObjectIndexBaseOpenGL()
{
    FreeListTable();
}

void C3DObjectIndexBaseOpenGL::FreeListTable()
{
    free(m_pLists);
    m_pLists = nullptr;
}

Result C3DObjectIndexBaseOpenGL::Release()
{
    DeleteLists();
    FreeListTable();
    return Failed(C3DObjectIndexSystemMemory::Release()) ? RES_FAIL : RES_OK;
}

Result C3DObjectIndexBaseOpenGL::Create(uint32_t recordCount, uint32_t indexCount)
{
    DeleteLists();
    FreeListTable();
    if (recordCount > 0) {
        m_pLists = static_cast<uint32_t*>(calloc(recordCount, sizeof(uint32_t)));
        if (!m_pLists) {
            m_pWorldData->lastError = RES_OUT_OF_MEMORY;
            return RES_OUT_OF_MEMORY;
        }
    }
    const Result result = C3DObjectIndexSystemMemory::Create(recordCount, indexCount);
    if (result == RES_OUT_OF_MEMORY)
        return result;
    return Failed(result) ? RES_FAIL : RES_OK;
}

bool C3DObjectIndexBaseOpenGL::ReadIndex(uint32_t position, uint32_t* value) const
{
    const void* data = m_indices.Data();
    if (!data || position >= m_indices.Count())
        return false;
    if (m_indices.ElementSize() == 2) {
        uint16_t small = 0;
        memcpy(&small, static_cast<const uint8_t*>(data) + size_t{position} * 2, sizeof(small));
        *value = small;
    } else {
        memcpy(value, static_cast<const uint8_t*>(data) + size_t{position} * 4, sizeof(*value));
    }
    return true;
}

bool C3DObjectIndexBaseOpenGL::CanDraw(const C3DPrimitiveGroup& record, uint32_t vertexLimit) const
{
    uint32_t mode = 0;
    if (!GLModeOfPrimitive(record.primitiveType, &mode))
        return false;
    const uint64_t count = IndicesForPrimitives(record.primitiveType, record.primitiveCount);
    if (uint64_t{record.firstIndex} + count > m_indices.Count())
        return false;
    for (uint64_t n = 0; n < count; ++n) {
        uint32_t value = 0;
        if (!ReadIndex(static_cast<uint32_t>(record.firstIndex + n), &value) || value >= vertexLimit)
            return false;
    }
    return true;
}

void C3DObjectIndexBaseOpenGL::Draw(const C3DPrimitiveGroup& record)
{
    uint32_t mode = 0;
    const uint8_t* data = static_cast<const uint8_t*>(m_indices.Data());
    if (!data || !GLModeOfPrimitive(record.primitiveType, &mode))
        return;
    const uint64_t count = IndicesForPrimitives(record.primitiveType, record.primitiveCount);
    if (count == 0 || uint64_t{record.firstIndex} + count > m_indices.Count())
        return;
    const uint8_t size = m_indices.ElementSize();
    glDrawElements(mode, static_cast<GLsizei>(count), size == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                   data + size_t{record.firstIndex} * size);
}

uint32_t C3DObjectIndexBaseOpenGL::NewListBlock()
{
    DeleteLists();
    if (!m_pLists || m_recordCount == 0)
        return 0;
    m_listBase = glGenLists(static_cast<GLsizei>(m_recordCount));
    return m_listBase;
}

void C3DObjectIndexBaseOpenGL::DeleteLists()
{
    if (m_listBase != 0)
        glDeleteLists(m_listBase, static_cast<GLsizei>(m_recordCount));
    m_listBase = 0;
    if (m_pLists)
        memset(m_pLists, 0, sizeof(uint32_t) * m_recordCount);
}

void C3DObjectIndexBaseOpenGL::SetList(uint32_t record, uint32_t list)
{
    if (m_pLists && record < m_recordCount)
        m_pLists[record] = list;
}

uint32_t C3DObjectIndexBaseOpenGL::GetList(uint32_t record) const
{
    return (m_pLists && record < m_recordCount) ? m_pLists[record] : 0;
}
