#pragma once
#include <cstdint>

#include "game/WorldComponent.h"

class C3DEngine;
class C3DObject;
struct CWorldData;

// Up to two fading markers where the pointer was pressed and dragged, drawn with one shared quad.
class CTouchScreen : public CWorldComponent {
public:
    CTouchScreen(CWorldData* data, C3DEngine* engine) : m_pData(data), m_pEngine(engine) {}
    ~CTouchScreen() override;

    using CWorldComponent::Load;
    // Makes the marker quad of side `side`, centred on the origin, with the texture the game
    // settings' key names (pak, default "touch.png") and the colour. RES_FAIL when the quad or
    // its texture cannot be had.
    Result Load(float side, uint32_t colour, const char16_t* section, const char16_t* key);
    Result Release() override;
    // Each active marker fades; busy tells whether one was active.
    Result Process() override;
    Result Render() override;

    // Shows marker 1 (second) or 0 at (x, y) at full alpha.
    void Touch(float x, float y, bool second);
    bool IsBusy() const { return m_bBusy; }

private:
    struct Marker {
        bool active;
        float alpha;
        float x, y, z;
    };

    // The quad of the given side around the origin, texture coordinates 0 to 1.
    bool MakeQuad(float side, uint32_t colour);

    CWorldData* m_pData;
    C3DEngine* m_pEngine;
    bool m_bBusy = false;
    C3DObject* m_pMarker = nullptr;
    Marker m_Markers[2] = {};
};
