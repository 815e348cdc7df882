#include "levels/shoot/ShootField.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/Random.h"

namespace {

constexpr int kPlaceTries = 3;
constexpr int kMaxDraws = 64;

// A phase that lasts seconds advanced by s; a length of 0 ends it at once.
float PhaseStep(float s, float seconds) { return seconds > 0.0f ? s / seconds : 2.0f; }

} // namespace

Result CShootField::Reset(uint32_t slotCount)
{
    std::unique_ptr<ShootSlot[]> slots(new (std::nothrow) ShootSlot[slotCount ? slotCount : 1]());
    if (!slots)
        return RES_OUT_OF_MEMORY;
    for (uint32_t i = 0; i < slotCount; ++i)
        slots[i].target = kFreeSlot;
    m_pSlots = std::move(slots);
    m_nSlots = slotCount;
    m_labels.clear();
    score = 0;
    won = 0;
    spawnTimer = 30.0f;
    return RES_OK;
}

Result CShootField::LoadSlots(const ShootSlot* slots, uint32_t count)
{
    if (Failed(Reset(count)))
        return RES_OUT_OF_MEMORY;
    std::copy_n(slots, count, m_pSlots.get());
    return RES_OK;
}

void CShootField::Tick(float frameFactor, CRandomMT& random, const ShootSpawnRules& rules,
                       const ShootTargetInfo* targets, uint32_t targetCount)
{
    spawnTimer -= frameFactor;
    if (spawnTimer < 0.0f)
        SpawnWave(random, rules, targets, targetCount);
}

void CShootField::SpawnWave(CRandomMT& random, const ShootSpawnRules& rules, const ShootTargetInfo* targets,
                            uint32_t targetCount)
{
    const uint32_t free = static_cast<uint32_t>(
        std::count_if(m_pSlots.get(), m_pSlots.get() + m_nSlots, [](const ShootSlot& s) { return s.target == kFreeSlot; }));
    const float spread = static_cast<float>(rules.maxSpawnSeconds - rules.minSpawnSeconds);
    spawnTimer = 30.0f * (rules.minSpawnSeconds + spread * RandomFraction(random));
    const uint32_t n = std::min(RandomIndex(random, rules.maxWave), free);
    for (uint32_t i = 0; i < n; ++i) {
        for (int attempt = 0; attempt < kPlaceTries; ++attempt) {
            if (TryPlace(random, rules, targets, targetCount))
                break;
        }
    }
}

bool CShootField::TryPlace(CRandomMT& random, const ShootSpawnRules& rules, const ShootTargetInfo* targets,
                           uint32_t targetCount)
{
    uint32_t k = targetCount, s = m_nSlots;
    for (int draw = 0; draw < kMaxDraws && (k >= targetCount || !targets[k].usable); ++draw)
        k = RandomIndex(random, targetCount);
    if (k >= targetCount || !targets[k].usable)
        return false;
    for (int draw = 0; draw < kMaxDraws && (s >= m_nSlots || m_pSlots[s].target != kFreeSlot); ++draw)
        s = RandomIndex(random, m_nSlots);
    if (s >= m_nSlots || m_pSlots[s].target != kFreeSlot)
        return false;
    const ShootTargetInfo& mine = targets[k];
    for (uint32_t i = 0; i < m_nSlots; ++i) {
        const uint8_t other = m_pSlots[i].target;
        if (other == kFreeSlot || other >= targetCount)
            continue;
        const ShootTargetInfo& them = targets[other];
        const float d = std::sqrt((mine.x - them.x) * (mine.x - them.x) + (mine.y - them.y) * (mine.y - them.y) +
                                  (mine.z - them.z) * (mine.z - them.z));
        if (d < std::max(mine.radius, them.radius))
            return false;
    }
    const uint32_t lifeSpread = static_cast<uint32_t>(rules.maxLifeSeconds - rules.minLifeSeconds);
    ShootSlot& slot = m_pSlots[s];
    slot = ShootSlot{};
    slot.target = static_cast<uint8_t>(k);
    slot.lifeSeconds = static_cast<uint8_t>(rules.minLifeSeconds + RandomIndex(random, lifeSpread));
    slot.phase = 0.0f;
    slot.state = kShootFadingIn;
    return true;
}

void CShootField::AdvanceSlots(float seconds, const ShootTargetInfo* targets, uint32_t targetCount, bool labels,
                               const PointOfSlot& pointOf)
{
    for (uint32_t i = 0; i < m_nSlots; ++i) {
        ShootSlot& slot = m_pSlots[i];
        if (slot.target == kFreeSlot)
            continue;
        if (slot.target >= targetCount) {
            slot.target = kFreeSlot;
            continue;
        }
        const ShootTargetInfo& target = targets[slot.target];
        if (slot.state == kShootFadingIn) {
            slot.phase += PhaseStep(seconds, target.fadeInSeconds);
            if (slot.phase > 1.0f)
                slot.state = kShootShown, slot.phase = 1.0f;
        } else if (slot.state == kShootShown) {
            slot.phase -= PhaseStep(seconds, slot.lifeSeconds);
            if (slot.phase < 0.0f)
                slot.state = kShootEscaping, slot.phase = 1.0f;
        } else {
            slot.phase -= PhaseStep(seconds, target.vanishSeconds);
            if (slot.phase >= 0.0f)
                continue;
            if (slot.state == kShootEscaping && labels) {
                float point[3] = {};
                pointOf(i, point);
                AddLabel(target.escapePoints, target.vanishSeconds, point);
            }
            slot.target = kFreeSlot;
        }
    }
}

ShootOutcome CShootField::AdvanceLabels(float seconds, bool judge, int32_t goal, int32_t loseThreshold)
{
    for (size_t i = 0; i < m_labels.size();) {
        ShootLabel& label = m_labels[i];
        label.alpha -= PhaseStep(seconds, label.duration);
        if (label.alpha >= 0.0f) {
            ++i;
            continue;
        }
        score += label.points;
        m_labels.erase(m_labels.begin() + static_cast<ptrdiff_t>(i));
        if (!judge)
            continue;
        if (score >= goal) {
            const bool turned = !won;
            won = 1;
            return turned ? ShootOutcome::Won : ShootOutcome::None;
        }
        if (score <= loseThreshold)
            return ShootOutcome::Lost;
    }
    return ShootOutcome::None;
}

void CShootField::AddLabel(int32_t points, float duration, const float point[3])
{
    if (points != 0)
        m_labels.push_back(ShootLabel{1.0f, duration, point[0], point[1], 0.0f, points});
}

int32_t CShootField::Hit(const std::function<bool(uint32_t slot)>& test)
{
    for (uint32_t i = 0; i < m_nSlots; ++i) {
        ShootSlot& slot = m_pSlots[i];
        if (slot.target == kFreeSlot || slot.state == kShootHit || !test(i))
            continue;
        if (slot.state == kShootShown)
            slot.phase = 1.0f;
        slot.state = kShootHit;
        return static_cast<int32_t>(i);
    }
    return -1;
}
