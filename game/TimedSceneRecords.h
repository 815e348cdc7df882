#pragma once
#include <cstdint>

// The time-attack settings of a hidden-object level's records, as the world's loading reaches
// them; the levels layer implements it.
class CTimedSceneRecords {
public:
    virtual uint32_t GetTimedRecordCount() = 0;
    // The scene state a fresh entry of the record starts with.
    virtual uint32_t GetInitialState(uint32_t record) = 0;
    // The state that follows search state kind (below 4) in the record.
    virtual uint32_t GetNextState(uint32_t record, uint32_t kind) = 0;
    // Seconds added to search state kind's timer.
    virtual void SetExtraSeconds(uint32_t record, uint32_t kind, uint32_t seconds) = 0;
    virtual void SetRecordZoom(uint32_t record, float zoom) = 0;

protected:
    ~CTimedSceneRecords() = default;
};
