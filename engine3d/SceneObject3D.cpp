#include "engine3d/SceneObject3D.h"

#include <new>

#include "engine3d/Engine.h"
#include "engine3d/Object.h"

namespace {

constexpr uint32_t kDisplayFlagsA = 0x28010;
constexpr uint32_t kDisplayFlagsB = 0x20C29;
constexpr uint32_t kCollisionFlagsA = 0x28010;
constexpr uint32_t kCollisionFlagsB = 0x24429;

} // namespace

CSceneObject3D::CSceneObject3D(CWorldData* data, C3DEngine* engine, uint32_t id)
    : CSceneObject(data, id), m_pEngine(engine)
{
    m_nType = kSceneTypePlain;
}

Result CSceneObject3D::Init()
{
    if (Failed(CSceneObject::Init()) || !m_pEngine)
        return RES_FAIL;
    m_pDisplay = m_pEngine->CreateObject(kDisplayFlagsA, kDisplayFlagsB);
    if (!m_pDisplay)
        return RES_FAIL;
    m_pCollision = m_pEngine->CreateObject(kCollisionFlagsA, kCollisionFlagsB);
    if (!m_pCollision)
        return RES_FAIL;
    return RES_OK;
}

Result CSceneObject3D::Release()
{
    if (m_pDisplay)
        IgnoreResult(m_pEngine->DestroyObject(m_pDisplay));
    m_pDisplay = nullptr;
    Result result = RES_OK;
    if (m_pCollision)
        result = m_pEngine->DestroyObject(m_pCollision);
    m_pCollision = nullptr;
    m_pParts.reset();
    m_pPartOrder.reset();
    m_nPartCount = 0;
    SetSnapshot(nullptr, 0);
    if (Failed(CSceneObject::Release()))
        return RES_FAIL;
    return result;
}

void CSceneObject3D::PlaySounds() {}

Result CSceneObject3D::Start(uint32_t) { return RES_OK; }

void CSceneObject3D::Stop() {}

uint32_t CSceneObject3D::DisplayPartCount() const { return m_pDisplay ? m_pDisplay->GetPartCount() : 0; }

void CSceneObject3D::SetSnapshot(std::unique_ptr<uint32_t[]> snapshot, uint32_t count)
{
    m_pSnapshot = std::move(snapshot);
    m_nSnapshotCount = m_pSnapshot ? count : 0;
}

void CSceneObject3D::SnapshotPartFlags()
{
    const uint32_t count = DisplayPartCount();
    std::unique_ptr<uint32_t[]> snapshot(count ? new (std::nothrow) uint32_t[count]() : nullptr);
    for (uint32_t p = 0; snapshot && p < count && p < m_nPartCount; ++p)
        snapshot[p] = m_pParts[p].flags;
    SetSnapshot(std::move(snapshot), count);
}

void CSceneObject3D::RevertPart(ScenePart& part, uint32_t state, bool* started)
{
    if ((part.flags & kPartFadingIn) && part.alpha < 1.0f) {
        part.flags = (part.flags | kPartDrawn) & ~(kPartFadingIn | kPartFadingOut);
    } else if ((part.flags & kPartFadingOut) && part.alpha > 0.0f) {
        part.flags &= ~(kPartDrawn | kPartFadingIn | kPartFadingOut);
    }
    if (!(part.flags & kPartWaiting) || (part.phase != state && part.phase != kPartAnyPhase))
        return;
    part.flags = (part.flags | kPartClickable) & ~kPartWaiting;
    if (part.flags & kPartDrawn) {
        part.flags |= kPartFadingOut;
        part.alpha = 1.0f;
    } else {
        part.flags |= kPartFadingIn;
        part.alpha = 0.0f;
    }
    *started = true;
}

bool CSceneObject3D::RevertPartStates(uint32_t state, uint32_t skipped)
{
    if (DisplayPartCount() == 0 || !m_pSnapshot || m_nSnapshotCount != m_nPartCount)
        return false;
    bool started = false;
    for (uint32_t p = 0; p < m_nPartCount; ++p) {
        if (p != skipped && m_pParts[p].flags != m_pSnapshot[p])
            RevertPart(m_pParts[p], state, &started);
    }
    return started;
}
