#pragma once
#include <array>
#include <cstdint>
#include <map>

#include "platform/d3d8/D3D8.h"
#include "platform/d3d8/D3D8VertexLayout.h"

// The device state that the setters change and drawing reads.

// Groups of states the renderer turns into OpenGL state, as bits. Each group has a serial that
// changes whenever a value in the group does, so the renderer redoes only what changed.
constexpr uint32_t kD3D8ChangeProgram = 1u << 0;     // what picks the generated program
constexpr uint32_t kD3D8ChangeTransforms = 1u << 1;  // world, view and projection matrices
constexpr uint32_t kD3D8ChangeLights = 1u << 2;      // lights, their enables and the view they are seen through
constexpr uint32_t kD3D8ChangeMaterial = 1u << 3;
constexpr uint32_t kD3D8ChangeFactor = 1u << 4;     // the texture factor
constexpr uint32_t kD3D8ChangeConstants = 1u << 5;  // viewport, point, fog, alpha reference and ambient values
constexpr size_t kD3D8ChangeGroups = 6;

// The groups a render state or a stage state belongs to.
uint32_t D3D8RenderStateChanges(DWORD state);
uint32_t D3D8StageStateChanges(DWORD type);

struct CD3D8Light {
    D3DLIGHT8 light;
    bool enabled;
};

// A field that changes what a draw shows is also compared by D3D8SameDrawState (D3D8FrameRecord.cpp).
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
    CD3D8VertexLayout layout;  // of the vertex shader
    DWORD pixelShader;
    std::array<uint64_t, kD3D8ChangeGroups> serials;
    uint64_t lastSerial;

    // The state of a new or reset device: its render target size, whether it has a depth
    // buffer and whether it does software vertex processing.
    void SetDefaults(UINT width, UINT height, bool depthBuffer, bool softwareProcessing);

    // Gives every group of the mask a new serial.
    void Touch(uint32_t changes);
    uint64_t Serial(uint32_t group) const;

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
