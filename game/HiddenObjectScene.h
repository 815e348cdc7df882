#pragma once
#include <cstdint>

// What the world reaches of a hidden-object scene beyond the level slots: its records'
// time-attack settings (read at loading) and the quiz page's frame step. The levels layer
// implements it.
class CHiddenObjectScene {
public:
    virtual uint32_t GetTimedRecordCount() = 0;
    // The scene state a fresh entry of the record starts with.
    virtual uint32_t GetInitialState(uint32_t record) = 0;
    // The state that follows search state kind (below 4) in the record.
    virtual uint32_t GetNextState(uint32_t record, uint32_t kind) = 0;
    // Seconds added to search state kind's timer.
    virtual void SetExtraSeconds(uint32_t record, uint32_t kind, uint32_t seconds) = 0;
    virtual void SetRecordZoom(uint32_t record, float zoom) = 0;
    // The quiz page's step of the draw pass: the page, then its answer and next-button clicks.
    virtual void StepQuiz() = 0;

protected:
    ~CHiddenObjectScene() = default;
};
