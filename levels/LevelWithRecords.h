#pragma once
#include <cstdint>

#include "base/Result.h"
#include "core/Stream.h"
#include "game/LevelRecord.h"
#include "levels/LevelRecordArray.h"

// A level type over Base whose scene records are RecordType: it makes them for the record
// count the description gives, hands out the ones read, and frees them after Base's release.
template <typename Base, typename RecordType>
class CLevelWithRecords : public Base {
public:
    using Base::Base;

    Result AllocRecords() override { return m_records.Alloc(this->m_nRecordCount); }
    // Null past the records read.
    CLevelRecord* GetRecord(uint32_t n) override { return RecordAt(n); }
    Result Release() override
    {
        const Result result = Base::Release();
        m_records.Reset();
        return result;
    }

protected:
    RecordType* RecordAt(uint32_t n) { return n < this->m_nRecordCount ? m_records.Get(n) : nullptr; }
    const RecordType* RecordAt(uint32_t n) const { return n < this->m_nRecordCount ? m_records.Get(n) : nullptr; }
    // The current record; null without one.
    RecordType* Record() { return RecordAt(this->m_nCurrentRecord); }
    const RecordType* Record() const { return RecordAt(this->m_nCurrentRecord); }

    // Reads each record's own part with read(stream, record); RES_FAIL at the first that fails.
    template <typename Reader>
    Result ReadOwnRecords(CStream& stream, Reader read)
    {
        for (uint32_t n = 0; n < this->m_nRecordCount; ++n) {
            if (Failed(read(stream, m_records[n])))
                return RES_FAIL;
        }
        return RES_OK;
    }

    CLevelRecordArray<RecordType> m_records;
};
