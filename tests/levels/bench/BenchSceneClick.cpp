// The cost of a hidden-object scene's click that walks every part: 200 clickable switch parts of
// 16 collision triangles each on the memory renderer, the click on none of them. Prints the
// median and quartiles of the click time and the time per part tested.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/Math3D.h"
#include "core/Stream.h"
#include "engine3d/Object.h"
#include "game/GameData.h"
#include "levels/hiddenobject/LevelVadadiDazidev.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/WorldDataDefaults.h"
#include "tools/LevelFileWriter.h"

namespace {

constexpr uint32_t kParts = 200;
constexpr uint32_t kTriangles = 16;
constexpr int kClicks = 5000;

// Part p: a fan of 16 triangles around its centre on a 20 x 10 grid of 40-unit cells; false when
// the object refuses them.
bool BuildFans(C3DObject* object)
{
    const uint32_t vertices = kTriangles + 1;
    if (Failed(object->Create(kParts, kParts * vertices, kParts * kTriangles * 3)) || Failed(object->Lock()))
        return false;
    for (uint32_t p = 0; p < kParts; ++p) {
        const float cx = 20.0f + 40.0f * static_cast<float>(p % 20);
        const float cy = 20.0f + 40.0f * static_cast<float>(p / 20);
        object->SetVertex(p * vertices, cx, cy, 0, 0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
        for (uint32_t t = 0; t < kTriangles; ++t) {
            const float angle = 6.2831853f * static_cast<float>(t) / kTriangles;
            object->SetVertex(p * vertices + 1 + t, cx + 15.0f * std::cos(angle), cy + 15.0f * std::sin(angle), 0,
                              0xFFFFFFFFu, 0, 0, 0, 0, 0, 0);
            const uint32_t first = (p * kTriangles + t) * 3;
            object->SetIndex(first, 0);
            object->SetIndex(first + 1, 1 + t);
            object->SetIndex(first + 2, 1 + (t + 1) % kTriangles);
        }
        if (Failed(object->SetPrimitiveGroup(p, p * vertices, vertices, p * kTriangles * 3, kTriangles * 3,
                                             kTriangles, kPrimitiveTriangleList, kCullNone, kPartNumberId)))
            return false;
    }
    return Succeeded(object->Unlock(1));
}

} // namespace

int main()
{
    CWorldData data{};
    CMath3D math;
    SetDefaultWorld(&data, &math, 1024, 768);
    CGameData game{};
    data.gameData = &game;
    CMemoryEngine* engine = new CMemoryEngine(&data);
    if (Failed(engine->Load(MemoryRenderer::Window()))) {
        fprintf(stderr, "cannot load the memory renderer\n");
        return 1;
    }

    CHiddenObjectLevelModel model;
    for (uint32_t p = 0; p < kParts; ++p) {
        CScenePartModel part;
        part.phase = 1;
        part.flags = kPartDrawn | kPartClickable | kPartToggles;
        model.level.scene.parts.push_back(part);
    }
    model.level.records.resize(1);
    const std::string bytes = HiddenObjectLevelBody(model);
    CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
    CLevelVadadiDazidev level(&data, engine, 0);
    if (Failed(stream.Open()) || Failed(level.LoadDescription(&stream)) || Failed(level.Init())) {
        fprintf(stderr, "cannot make the scene\n");
        return 1;
    }
    for (Matrix4& view : game.m_matView)
        math.Identity(&view);
    if (!BuildFans(level.GetCollisionObject()) || Failed(level.AdvanceSceneState(true))) {
        fprintf(stderr, "cannot build the scene's parts\n");
        return 1;
    }

    std::vector<double> times;
    for (int click = 0; click < kClicks; ++click) {
        const auto start = std::chrono::steady_clock::now();
        const Result result = level.OnClick(1000.0f, 700.0f);
        const auto end = std::chrono::steady_clock::now();
        if (Succeeded(result)) {
            fprintf(stderr, "the click hit a part\n");
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    printf("scene click over %u parts of %u triangles: median %.2f us (quartiles %.2f - %.2f us), %.3f us a part, "
           "%d clicks\n",
           kParts, kTriangles, median, times[times.size() / 4], times[times.size() * 3 / 4], median / kParts, kClicks);
    IgnoreResult(level.Release());
    IgnoreResult(engine->Unload());
    delete engine;
    return 0;
}
