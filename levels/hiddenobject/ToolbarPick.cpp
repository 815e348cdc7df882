#include "levels/hiddenobject/ToolbarPick.h"

#include <new>

#include "core/Random.h"
#include "engine3d/SceneObject3D.h"
#include "levels/hiddenobject/HiddenObjectRecord.h"

namespace {

constexpr uint32_t kMaxDraws = 64;

template <typename T>
std::unique_ptr<T[]> Zeroed(uint32_t count)
{
    return std::unique_ptr<T[]>(new (std::nothrow) T[count ? count : 1]());
}

bool Qualifies(const ScenePart& part, uint32_t phase)
{
    return (part.flags & (kPartToggles | kPartWaiting | kPartClickable)) == kPartClickable && part.phase == phase &&
           part.itemId != kNoItem;
}

} // namespace

Result GatherItems(const CSceneObject3D& scene, uint32_t phase, CPickedItems& out)
{
    const uint32_t parts = scene.GetPartCount();
    std::unique_ptr<CPickedItem[]> items = Zeroed<CPickedItem>(parts);
    if (!items)
        return RES_OUT_OF_MEMORY;
    uint32_t count = 0;
    for (uint32_t n = 0; n < parts; ++n) {
        const ScenePart* part = scene.GetPart(scene.GetPartOrder(n));
        if (!part || !Qualifies(*part, phase))
            continue;
        uint32_t i = 0;
        while (i < count && items[i].id != part->itemId)
            ++i;
        if (i == count)
            items[count++] = {part->itemId, 0};
        ++items[i].count;
    }
    out.places = std::move(items);
    out.count = count;
    return RES_OK;
}

uint32_t DrawFreeIndex(CRandomMT& random, uint32_t n, const bool* taken)
{
    for (uint32_t draw = 0; draw < kMaxDraws && n; ++draw) {
        const uint32_t k = RandomIndex(random, n);
        if (!taken[k])
            return k;
    }
    uint32_t k = 0;
    while (k < n && taken[k])
        ++k;
    return k;
}

Result PickAtRandom(CPickedItems& items, uint32_t kept, CRandomMT& random)
{
    const uint32_t m = items.count;
    std::unique_ptr<bool[]> dropped = Zeroed<bool>(m);
    std::unique_ptr<bool[]> taken = Zeroed<bool>(kept);
    std::unique_ptr<CPickedItem[]> places = Zeroed<CPickedItem>(kept);
    if (!dropped || !taken || !places)
        return RES_OUT_OF_MEMORY;
    for (uint32_t n = kept; n < m; ++n)
        dropped[DrawFreeIndex(random, m, dropped.get())] = true;
    for (uint32_t i = 0; i < m; ++i) {
        if (dropped[i])
            continue;
        uint32_t k = RandomIndex(random, kept);
        if (taken[k]) {
            uint32_t below = 0;
            while (below < k && taken[below])
                ++below;
            if (below < k) {
                k = below;
            } else {
                while (k < kept && taken[k])
                    ++k;
            }
        }
        taken[k] = true;
        places[k] = items.places[i];
    }
    items.places = std::move(places);
    items.count = kept;
    return RES_OK;
}
