#pragma once
#include <cstdint>

#include "engine3d/Item.h"

class C3DEngine;
class C3DObject;
class C3DTexture;

constexpr uint32_t kFrameParts = 9;

// Part numbers of a frame, row by row.
enum FramePart : uint32_t {
    kFrameTopLeft = 0,
    kFrameTop = 1,
    kFrameTopRight = 2,
    kFrameLeft = 3,
    kFrameCentre = 4,
    kFrameRight = 5,
    kFrameBottomLeft = 6,
    kFrameBottom = 7,
    kFrameBottomRight = 8,
};

// A stretchable rectangle drawn in one call from nine textures: one engine object of nine
// quads, corners keeping the border size, edges and centre stretched and repeating their
// textures a whole number of times (counted on the top edge's texture). The engine owns the
// object (Release destroys it); the object's texture slots hold one reference of each texture.
class C3DFrame : public C3DItem {
public:
    C3DFrame(CWorldData* data, C3DEngine* engine);

    // Destroys the object through the engine; 0.
    virtual Result Release();
    // Draws the object with the frame's colour and matrix; RES_FAIL before Create.
    virtual Result Render();
    virtual void SetAlpha(uint8_t alpha);
    virtual void SetColor(uint32_t argb);
    // Makes the object (9 parts of 4 vertices and 4 indices) with textures[i] on part i;
    // vertices stay unset until Layout. A previous object is destroyed first.
    virtual Result Create(C3DTexture* const* textures);

    // Places the quads for a frame of width x height (the whole frame) centred on the
    // frame's origin, y growing downwards, with corners border x border; a size of at most
    // two borders collapses the middle row or column to the origin. outRect (may be null)
    // receives left, top, right, bottom. RES_FAIL before Create.
    Result Layout(float* outRect, float width, float height, float border, uint32_t colour);

    C3DObject* GetObject() const { return m_pObject; }
    uint32_t GetColor() const { return m_colour; }
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }

private:
    // Quad of a part from (x0, y0) to (x1, y1), texture coordinates from (0, 0) to (u1, v1).
    void WriteQuad(uint32_t part, float x0, float y0, float x1, float y1, float u1, float v1, uint32_t colour);
    // The part's four vertices at the origin.
    void CollapseQuad(uint32_t part, uint32_t colour);

    C3DEngine* m_pEngine;
    uint32_t m_colour = 0xFFFFFFFFu;
    C3DObject* m_pObject = nullptr;
    float m_width = 0.0f;
    float m_height = 0.0f;
};
