#include "game/widgets/InertiaPosition.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/ParamsReader.h"
#include "core/WorldData.h"

Result CInertiaPosition::Load()
{
    const CParamsReader* params = m_pData ? m_pData->gameParams : nullptr;
    if (params) {
        m_fTestRef = static_cast<float>(params->GetFloat(u"DRAGGING_INERTIA", u"DRAGGING_TEST_REF", 30.0f));
        m_fSlowDown = static_cast<float>(params->GetFloat(u"DRAGGING_INERTIA", u"DRAGGING_SPEED_DEC_RATIO", 0.95f));
    }
    m_fSpeed = 30.0f;
    m_pTimer.reset(new (std::nothrow) CHighResTimer());
    return RES_OK;
}

Result CInertiaPosition::Release()
{
    m_pTimer.reset();
    return RES_OK;
}

void CInertiaPosition::AddSample(float x, float y)
{
    Sample& sample = m_Samples[m_nCount % kSampleCount];
    sample.elapsed = m_pTimer ? m_pTimer->GetElapsed() : 0;
    sample.dx = x - m_vLast.x;
    sample.dy = y - m_vLast.y;
    ++m_nCount;
}

Result CInertiaPosition::Begin(float x, float y)
{
    m_vVelocity = {};
    m_vLast = {x, y};
    m_nCount = 0;
    if (m_pTimer)
        m_pTimer->Start();
    return RES_FAIL;
}

Result CInertiaPosition::Move(float x, float y)
{
    m_vVelocity = {};
    AddSample(x, y);
    m_vLast = {x, y};
    if (m_pTimer)
        m_pTimer->Start();
    return RES_FAIL;
}

Result CInertiaPosition::End(float x, float y)
{
    m_vVelocity = {};
    if (m_nCount == 0)
        AddSample(x, y);
    const uint32_t n = std::min(m_nCount, kSampleCount);
    if (n < 2)
        return RES_FAIL;
    // The ring's first slot stays out of the mean.
    uint64_t elapsed = 0;
    float dx = 0.0f;
    float dy = 0.0f;
    for (uint32_t i = 1; i < n; ++i) {
        elapsed += m_Samples[i].elapsed;
        dx += m_Samples[i].dx;
        dy += m_Samples[i].dy;
    }
    const uint32_t m = n - 1;
    dx /= static_cast<float>(m);
    dy /= static_cast<float>(m);
    const float seconds = static_cast<float>(elapsed / m) * 0.000001f;
    if (std::hypot(dx, dy) < m_fTestRef)
        return RES_FAIL;
    m_vVelocity = {dx * seconds * m_fSpeed, dy * seconds * m_fSpeed};
    return RES_FAIL;
}

void CInertiaPosition::Step(Vector3* out)
{
    if (m_vVelocity.x == 0.0f && m_vVelocity.y == 0.0f) {
        *out = {0.0f, 0.0f, 0.0f};
        return;
    }
    const float factor = static_cast<float>(m_pData->frameFactor);
    *out = {m_vVelocity.x * factor, m_vVelocity.y * factor, 0.0f};
    m_vVelocity.x *= m_fSlowDown;
    m_vVelocity.y *= m_fSlowDown;
}

void CInertiaPosition::Stop()
{
    m_vVelocity = {};
}
