#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "base/Result.h"
#include "core/Random.h"

constexpr uint8_t kFreeSlot = 0xFF;

enum ShootSlotState : uint32_t { kShootFadingIn = 0, kShootShown = 1, kShootEscaping = 2, kShootHit = 3 };

// One place a target can stand, saved whole (16 bytes).
struct ShootSlot {
    uint8_t target;  // kFreeSlot: free
    uint8_t pad0[3];
    float phase;
    uint8_t lifeSeconds;
    uint8_t pad1[3];
    uint32_t state;
};
static_assert(sizeof(ShootSlot) == 16, "saved slot layout");

// A floating score text.
struct ShootLabel {
    float alpha;
    float duration;  // seconds
    float x, y, z;
    int32_t points;
};

// What the field needs to know of one target: whether it may be picked, its part's point and
// radius, and the timings and points of its kind.
struct ShootTargetInfo {
    bool usable;
    float x, y, z;
    float radius;
    float fadeInSeconds;
    float vanishSeconds;
    int32_t escapePoints;
};

struct ShootSpawnRules {
    uint8_t minSpawnSeconds, maxSpawnSeconds;
    uint8_t maxWave;
    uint8_t minLifeSeconds, maxLifeSeconds;
};

// What the label walk of a frame found.
enum class ShootOutcome { None, Won, Lost };

// The SHOOT round without drawing: slots, spawning, timings, score and labels.
class CShootField {
public:
    using PointOfSlot = std::function<void(uint32_t slot, float point[3])>;

    Result Reset(uint32_t slotCount);
    // Replaces the slots with saved ones.
    Result LoadSlots(const ShootSlot* slots, uint32_t count);

    uint32_t SlotCount() const { return m_nSlots; }
    ShootSlot* Slots() { return m_pSlots.get(); }
    const ShootSlot* Slot(uint32_t n) const { return n < m_nSlots ? &m_pSlots[n] : nullptr; }
    std::vector<ShootLabel>& Labels() { return m_labels; }
    int32_t score = 0;
    uint8_t won = 0;
    float spawnTimer = 30.0f;

    // Counts the spawn timer down by the frame factor and spawns a wave below 0.
    void Tick(float frameFactor, CRandomMT& random, const ShootSpawnRules& rules, const ShootTargetInfo* targets,
              uint32_t targetCount);
    void SpawnWave(CRandomMT& random, const ShootSpawnRules& rules, const ShootTargetInfo* targets,
                   uint32_t targetCount);
    // Advances every slot by the seconds; an escape adds its label when labels is true.
    void AdvanceSlots(float seconds, const ShootTargetInfo* targets, uint32_t targetCount, bool labels,
                      const PointOfSlot& pointOf);
    // Fades the labels; an expired one adds its points and is deleted. When judge is set the score
    // is tested then: reaching the goal sets won (Won only when it turns 1), falling to the
    // threshold answers Lost; either stops the walk.
    ShootOutcome AdvanceLabels(float seconds, bool judge, int32_t goal, int32_t loseThreshold);
    // No label for 0 points.
    void AddLabel(int32_t points, float duration, const float point[3]);
    // The slot hit by the test, in slot order; a hit target shows its vanishing. -1 when none.
    int32_t Hit(const std::function<bool(uint32_t slot)>& test);

private:
    bool TryPlace(CRandomMT& random, const ShootSpawnRules& rules, const ShootTargetInfo* targets,
                  uint32_t targetCount);

    uint32_t m_nSlots = 0;
    std::unique_ptr<ShootSlot[]> m_pSlots;
    std::vector<ShootLabel> m_labels;
};
