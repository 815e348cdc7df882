#pragma once
#include <cstdint>
#include <memory>

#include "game/GameLabels.h"

// The level labels object: pictures, one per label, that a pop-up text shows beside its text.
class CLevelLabels : public CGameLabels {
public:
    CLevelLabels(CWorldData* data, C3DEngine* engine, uint32_t id);

    // Frees the labels, then the scene object's release.
    Result Release() override;
    // "<raw>_labels_<id>.obj.3dx" into the display object.
    Result LoadFiles() override;
    Result UnloadFiles() override;
    // The scene-object block, then the label count and the labels (22 bytes each). Refused before
    // any allocation for a count past the stream's end, and for a part not below the part count.
    Result LoadDescription(CStream* stream) override;

    const CLabelRecord* GetLabel(uint32_t n) override;
    // Draws the label's part through the second view matrix; nothing for -1, past the labels or
    // for a part the display object lacks.
    void ShowLabel(int32_t n) override;
    uint32_t GetLabelCount() const { return m_nLabelCount; }

private:
    std::unique_ptr<CLabelRecord[]> m_pLabels;
    uint32_t m_nLabelCount = 0;
};
