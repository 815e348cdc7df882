#include "game/LevelAction.h"

#include <cstring>
#include <new>

#include "core/Stream.h"

void CLevelAction::Clear()
{
    m_pElements.reset();
    m_nCount = 0;
}

Result CLevelAction::Save(CStream& stream)
{
    if (!stream.Write(&m_nCount, 1, 1))
        return RES_FAIL;
    if (m_nCount && !stream.Write(m_pElements.get(), m_nElementBytes, m_nCount))
        return RES_FAIL;
    return RES_OK;
}

Result CLevelAction::Load(CStream& stream)
{
    Clear();
    uint8_t count = 0;
    if (!stream.Read(&count, 1, 1))
        return RES_FAIL;
    if (count == 0)
        return RES_OK;
    std::unique_ptr<uint8_t[]> elements(new (std::nothrow) uint8_t[size_t{count} * m_nElementBytes]);
    if (!elements)
        return RES_OUT_OF_MEMORY;
    if (!stream.Read(elements.get(), m_nElementBytes, count))
        return RES_FAIL;
    m_pElements = std::move(elements);
    m_nCount = count;
    return RES_OK;
}

uint16_t CLevelAction::GetElement(uint8_t i) const
{
    if (i >= m_nCount)
        return 0;
    if (m_nElementBytes == 1)
        return m_pElements[i];
    uint16_t element;
    memcpy(&element, &m_pElements[size_t{i} * 2], sizeof element);
    return element;
}
