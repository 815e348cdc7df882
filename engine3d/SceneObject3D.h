#pragma once
#include <cstdint>
#include <memory>

#include "engine3d/SceneObject.h"

class C3DEngine;

// Part flags.
constexpr uint32_t kPartDrawn = 0x01;
constexpr uint32_t kPartClickable = 0x02;
constexpr uint32_t kPartWaiting = 0x04;  // becomes clickable when its phase comes
constexpr uint32_t kPartFadingIn = 0x08;
constexpr uint32_t kPartFadingOut = 0x10;
constexpr uint32_t kPartToggles = 0x20;
constexpr uint32_t kPartSecondView = 0x40;  // placed with the second view matrix
// Phase of a part that waits for any state.
constexpr uint32_t kPartAnyPhase = 8;
// No part to skip in RevertPartStates.
constexpr uint32_t kNoPart = 0xFFFFFFFFu;
// Most parts a description or a progress stream may give: the part order is 16-bit.
constexpr uint32_t kMaxSceneParts = 0x10000;

// One pickable piece of a scene picture. In a description: 29 bytes, kind, phase, flags, item
// id, then the four values; alpha lives at run time only.
struct ScenePart {
    uint8_t kind;     // for the heirs
    uint32_t phase;   // the state in which a waiting part becomes clickable; kPartAnyPhase: any
    uint32_t itemId;  // the wanted item the part counts for
    uint32_t flags;
    float alpha;      // fade value, 0.0 to 1.0
    float x, y, z;    // per-part values for the heirs: a point
    float radius;     // and a distance
};

// A scene picture drawn from one 3D object (the display object) and hit-tested against a
// second (the collision object), with its table of parts, their fades and their save formats.
// Owns both objects (made by Init, destroyed by Release through the engine), the part table,
// the part order and the flag snapshot.
class CSceneObject3D : public CSceneObject {
public:
    CSceneObject3D(CWorldData* data, C3DEngine* engine, uint32_t id);
    ~CSceneObject3D() override = default;

    // Makes the display and the collision object; RES_FAIL when either cannot be made.
    Result Init() override;
    // Destroys both objects and frees the tables; the result of the collision object's destroy.
    Result Release() override;
    // Part count, then per part flags and alpha.
    Result SaveObjects(CStream* stream) override;
    // The snapshot's length and words, or a single 0 without a snapshot.
    Result SaveProgress(CStream* stream) override;
    // The count must be the part count; nothing changes unless the whole stream reads.
    Result LoadObjects(CStream* stream, uint32_t version) override;
    // Replaces the snapshot by the stream's (none for a count of 0).
    Result LoadProgress(CStream* stream, uint32_t version) override;
    // Reference size, description word, parts and part order; adds the part count to the game
    // data's element total. Nothing changes unless the whole description reads.
    Result LoadDescription(CStream* stream) override;
    virtual void PlaySounds();
    virtual Result Start(uint32_t mode);
    virtual void Stop();
    // The flags of each display-object part into a new snapshot.
    virtual void SnapshotPartFlags();
    // Ends the fades of the parts that differ from the snapshot (but skipped) and starts a fade
    // for those whose waiting phase is state. True when a fade started. False at once without a
    // snapshot, or when the snapshot and the part table differ in length.
    virtual bool RevertPartStates(uint32_t state, uint32_t skipped);

    // 0 when the virtual-screen point (x, y) lies on one of the part's collision triangles,
    // placed by the view matrix the part's flags choose (a tooltip: its collision object's
    // matrix); RES_FAIL otherwise.
    Result HitTestPart(uint32_t part, float x, float y);

    C3DEngine* GetEngine() const { return m_pEngine; }
    float GetRefWidth() const { return m_fRefWidth; }
    float GetRefHeight() const { return m_fRefHeight; }
    uint32_t GetDescriptionWord() const { return m_nDescriptionWord; }
    C3DObject* GetDisplayObject() const { return m_pDisplay; }
    C3DObject* GetCollisionObject() const { return m_pCollision; }
    uint32_t GetPartCount() const { return m_nPartCount; }
    // Null past the last part.
    ScenePart* GetPart(uint32_t part) const { return part < m_nPartCount ? &m_pParts[part] : nullptr; }
    // 0 past the last part.
    uint16_t GetPartOrder(uint32_t part) const { return part < m_nPartCount ? m_pPartOrder[part] : 0; }
    uint32_t GetSnapshotCount() const { return m_nSnapshotCount; }
    const uint32_t* GetSnapshot() const { return m_pSnapshot.get(); }

protected:
    uint32_t DisplayPartCount() const;
    void SetSnapshot(std::unique_ptr<uint32_t[]> snapshot, uint32_t count);
    void RevertPart(ScenePart& part, uint32_t state, bool* started);

    C3DEngine* m_pEngine;
    float m_fRefWidth = 1024.0f;
    float m_fRefHeight = 768.0f;
    uint32_t m_nSpare = 0;  // for the heirs
    float m_fPhase = 0.0f;  // for the heirs
    C3DObject* m_pDisplay = nullptr;
    C3DObject* m_pCollision = nullptr;
    std::unique_ptr<ScenePart[]> m_pParts;
    std::unique_ptr<uint16_t[]> m_pPartOrder;
    uint32_t m_nPartCount = 0;
    std::unique_ptr<uint32_t[]> m_pSnapshot;
    uint32_t m_nSnapshotCount = 0;
    uint32_t m_nDescriptionWord = 0;
};
