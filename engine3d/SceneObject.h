#pragma once
#include <cstdint>

#include "base/BaseObject.h"
#include "base/Result.h"

struct CWorldData;
class C3DObject;
class C3DObjectFile;
class CStream;

// Type codes of scene objects (the heirs set theirs).
constexpr uint32_t kSceneTypeNone = 0;
constexpr uint32_t kSceneTypePlain = 0x8000;
constexpr uint32_t kSceneTypeLayeredMenu = 0x8001;
constexpr uint32_t kSceneTypeTimer = 0x8002;
constexpr uint32_t kSceneTypeLabels = 0x8003;
constexpr uint32_t kSceneTypeTooltip = 0x8004;

// Language codes of the game's language index; null past the last language.
const char16_t* SceneLanguageCode(uint32_t language);

// Root interface of the pictures the world and its screens drive: loading, drawing, input and
// saving. Every operation has a harmless default that the heirs override.
class CSceneObject : public CBaseObject {
public:
    CSceneObject(CWorldData* data, uint32_t id);
    CSceneObject(const CSceneObject&) = delete;
    CSceneObject& operator=(const CSceneObject&) = delete;
    ~CSceneObject() override = default;

    virtual Result Init();
    virtual Result Release();
    virtual void Process();
    virtual void Render();
    // The input operations answer RES_FAIL (not handled); below zero from OnClick is a miss.
    virtual Result OnPress(float x, float y);
    virtual Result OnDrag(float x, float y, float delta);
    virtual Result OnRelease(float x, float y);
    virtual Result OnClick(float x, float y);
    // Heirs load their objects, then call this: loaded := 1.
    virtual Result LoadFiles();
    virtual Result UnloadFiles();
    // Reads the ".3dx" pak entry name into object, with localised part textures when the
    // object's flags B has texture stage 0. RES_FAIL on any failure.
    virtual Result Load3DX(C3DObject* object, const char16_t* name);
    virtual Result SaveObjects(CStream* stream);
    virtual Result SaveProgress(CStream* stream);
    virtual Result LoadObjects(CStream* stream, uint32_t version);
    virtual Result LoadProgress(CStream* stream, uint32_t version);
    virtual Result LoadDescription(CStream* stream);
    virtual uint32_t GetCameraMode();
    virtual bool IsSceneOptionSet();
    virtual float GetZoomRatio();
    virtual float GetRecordZoom();
    virtual bool IsClickPenaltyFree();
    virtual bool IsDragEnabled();
    virtual bool IsCameraDraggable();
    virtual bool IsToolbarHidden();
    virtual bool IsToolbarHeightIgnored();
    virtual bool IsHintRechargePaused();
    virtual bool IsPlayerHelpLocked();
    // Each part texture "name.ext" becomes "name.<language>.ext" when the pak holds that entry.
    virtual void LocalizeTextures(C3DObjectFile* file);

    CWorldData* GetWorldData() const { return m_pWorldData; }
    uint32_t GetId() const { return m_nId; }
    uint32_t GetType() const { return m_nType; }
    bool IsLoaded() const { return m_nLoaded != 0; }
    bool IsVisible() const { return m_nVisible != 0; }
    void SetVisible(bool visible) { m_nVisible = visible ? 1 : 0; }

protected:
    CWorldData* m_pWorldData;
    uint32_t m_nLoaded = 0;
    uint32_t m_nId;
    uint32_t m_nType = kSceneTypeNone;
    uint32_t m_nVisible = 1;
};
