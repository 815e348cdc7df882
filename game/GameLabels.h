#pragma once
#include <cstdint>

#include "engine3d/SceneObject3D.h"

// A label of the level labels object: the display object's part that shows it, its kind, and the
// place (x, y, z) and width of the pop-up page shown beside it.
struct CLabelRecord {
    uint32_t part;
    uint16_t kind;  // kLabelKindDialog: the page takes the menu dialog frame's width
    uint32_t values[4];
};

constexpr uint16_t kLabelKindDialog = 2;

// The level labels object (type 0x8003) as the game reaches it; the levels layer implements it.
class CGameLabels : public CSceneObject3D {
public:
    using CSceneObject3D::CSceneObject3D;

    // Label n; null past the labels.
    virtual const CLabelRecord* GetLabel(uint32_t n) = 0;
    // Draws label n's part; nothing for -1 or past the labels.
    virtual void ShowLabel(int32_t n) = 0;
};
