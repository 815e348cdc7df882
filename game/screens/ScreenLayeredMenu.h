#pragma once
#include <cstdint>
#include <memory>

#include "core/Vector3.h"
#include "engine3d/SceneObject3D.h"

// One layer of a layered menu picture: a part of the display object with its own scale and
// pointer weights. In the description file 20 bytes: u32 part, u8 hidden while moving, u8
// hidden in the idle draw, two bytes of padding, f32 scale, f32 x weight, f32 y weight.
struct CMenuLayer {
    uint32_t m_nPart;
    uint8_t m_bHiddenMoving;  // hidden while entering and leaving
    uint8_t m_bHiddenIdle;    // hidden in the idle draw when asked
    float m_fScale;
    float m_fWeightX;
    float m_fWeightY;
};

constexpr uint32_t kMenuLayerBytes = 20;

// The animated picture behind the intro (menu 0) and outro (menu 1) screens: the parts of one
// 3D object drawn as layers that zoom in when the screen opens, slide away when it leaves and
// follow the pointer while it is shown. The phase runs from 0 to 1.
class CScreenLayeredMenu : public CSceneObject3D {
public:
    CScreenLayeredMenu(CWorldData* data, C3DEngine* engine, uint32_t menu);

    // LoadMesh.
    Result LoadFiles() override;
    // The base unload step, then the display object's data is freed.
    Result UnloadFiles() override;
    // The scene-object block, then the layer count, the layers, base x and y and the third value.
    // Nothing changes unless the whole description reads.
    Result LoadDescription(CStream* stream) override;

    // "<raw folder>_menu_<n>.obj.3dx" into the display object, then the base load step. A layer
    // naming a part the mesh does not have is logged and never drawn.
    Result LoadMesh();

    void ResetPhase() { m_fPhase = 0.0f; }
    // The phase grows by the frame factor x 0.01 (StepEnter) or x 0.5 (StepLeave); once it passes
    // 1.0 it starts again at 0.0 and the step answers true.
    bool StepEnter();
    bool StepLeave();

    // Layers without the first hide flag, zooming in: factor sin(phase x pi / 2), no offset.
    Result DrawEnter();
    // The same with the factor 2 - sin(phase x pi / 2).
    Result DrawEnterReverse();
    // Layers without the first hide flag, offset by the exit direction x phase.
    Result DrawLeave();
    // Every layer but those whose first (skipFirst) or second (skipSecond) hide flag is set,
    // offset by the game's pointer vector.
    Result DrawIdle(bool skipFirst, bool skipSecond);

    void SetExitDirection(const Vector3& direction) { m_vExitDirection = direction; }

private:
    Result DrawLayers(const Vector3& offset, float factor, bool skipFirst, bool skipSecond);
    bool StepPhase(float speed);

    std::unique_ptr<CMenuLayer[]> m_pLayers;
    uint32_t m_nLayerCount = 0;
    Vector3 m_vExitDirection = {};
    float m_fBaseX = 0.0f;
    float m_fBaseY = 0.0f;
    uint32_t m_nThirdValue = 0;  // read with the layers, used by none of them
};
