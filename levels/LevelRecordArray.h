#pragma once
#include <cstdint>
#include <memory>
#include <new>

#include "base/Result.h"

// A level type's scene records: count zeroed records, reached by index.
template <typename Record>
class CLevelRecordArray {
public:
    // Replaces the records by count zeroed ones; none without memory.
    Result Alloc(uint32_t count)
    {
        m_pRecords.reset(new (std::nothrow) Record[count ? count : 1]());
        m_nCount = m_pRecords ? count : 0;
        return m_pRecords ? RES_OK : RES_OUT_OF_MEMORY;
    }
    // Null past the records.
    Record* Get(uint32_t n) { return n < m_nCount ? &m_pRecords[n] : nullptr; }
    const Record* Get(uint32_t n) const { return n < m_nCount ? &m_pRecords[n] : nullptr; }
    Record& operator[](uint32_t n) { return m_pRecords[n]; }
    void Reset()
    {
        m_pRecords.reset();
        m_nCount = 0;
    }

private:
    std::unique_ptr<Record[]> m_pRecords;
    uint32_t m_nCount = 0;
};
