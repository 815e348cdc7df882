#pragma once
#include <array>
#include <map>

#include "platform/d3d8/D3D8.h"

// The device state that the setters change and drawing reads.

struct CD3D8Light {
    D3DLIGHT8 light;
    bool enabled;
};

struct CD3D8State {
    std::array<DWORD, D3D8_RENDER_STATE_LIMIT> renderStates;
    std::array<std::array<DWORD, D3D8_STAGE_STATE_LIMIT>, D3D8_TEXTURE_STAGES> stageStates;
    std::array<IDirect3DBaseTexture8*, D3D8_TEXTURE_STAGES> textures;
    D3DMATRIX view;
    D3DMATRIX projection;
    std::array<D3DMATRIX, D3D8_TEXTURE_STAGES> textureTransforms;
    std::array<D3DMATRIX, 256> world;
    std::map<DWORD, CD3D8Light> lights;
    D3DMATERIAL8 material;
    D3DVIEWPORT8 viewport;
    IDirect3DVertexBuffer8* streamSource;
    UINT streamStride;
    IDirect3DIndexBuffer8* indices;
    UINT baseVertexIndex;
    DWORD vertexShader;
    DWORD pixelShader;

    // The state of a new or reset device: its render target size, whether it has a depth
    // buffer and whether it does software vertex processing.
    void SetDefaults(UINT width, UINT height, bool depthBuffer, bool softwareProcessing);

    // Null for a transform state that does not exist.
    D3DMATRIX* Transform(DWORD state);
    const D3DMATRIX* Transform(DWORD state) const;

    DWORD Render(D3DRENDERSTATETYPE state) const { return renderStates[state]; }
    float RenderFloat(D3DRENDERSTATETYPE state) const { return D3D8BitsFloat(renderStates[state]); }
    DWORD Stage(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const { return stageStates[stage][type]; }
};

// The light a light index gets when it is enabled without ever being set: white, directional,
// pointing along +z.
D3DLIGHT8 D3D8DefaultLight();
D3DMATRIX D3D8Identity();

// Whether a number names a render state or a stage state Direct3D 8 has.
bool D3D8IsRenderState(DWORD state);
bool D3D8IsStageState(DWORD type);
