#pragma once
#include <cstdint>

#include "engine3d/StencilShadow.h"
#include "platform/d3d8/D3D8.h"

// The Direct3D 8 stencil shadow: counts a caster's volume into the stencil buffer (faces seen
// clockwise add one, counter-clockwise ones take one away, never below zero), then multiplies
// every pixel whose count is not zero by the shadow colour with one pre-transformed quad over
// the whole render target. The stencil buffer is not cleared here: the frame's clear does it,
// so shadows drawn one after the other add up.
class C3DStencilShadowDX81 : public C3DStencilShadow {
public:
    explicit C3DStencilShadowDX81(CWorldData* data) : C3DStencilShadow(data) {}
    // Releases the quad's vertex buffer.
    ~C3DStencilShadowDX81() override;

    // The base table, then the quad's vertex buffer; RES_FAIL when either cannot be made.
    Result Create(uint32_t casterCount, uint32_t colour) override;
    // The quad's vertex buffer, then the base buffers.
    Result Release() override;
    // Draws caster index's volume and the darkening, then the wireframe of the volume when the
    // show-construct switch is set. A caster without side points draws nothing; RES_FAIL for an
    // index past the table.
    Result Render(uint32_t index) override;

    IDirect3DVertexBuffer8* GetQuad() const { return m_pQuad; }

private:
    void ReleaseQuad();
    // Writes the quad over width x height pixels.
    Result FillQuad(uint32_t width, uint32_t height);
    void BeginVolume(IDirect3DDevice8* device);
    void CountVolume(IDirect3DDevice8* device, const C3DShadowCaster& caster);
    void Darken(IDirect3DDevice8* device);
    void DrawConstruct(IDirect3DDevice8* device, const C3DShadowCaster& caster);

    IDirect3DVertexBuffer8* m_pQuad = nullptr;
    uint32_t m_quadWidth = 0;
    uint32_t m_quadHeight = 0;
};
