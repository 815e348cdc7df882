#include <memory>
#include <new>

#include "core/Math3D.h"
#include "core/Random.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectFile.h"
#include "engine3d/PrimitiveBuild.h"

namespace {

constexpr float kPeak = 100.0f;
constexpr double kPeakChance = 0.55;
constexpr uint32_t kSmoothingPasses = 2;

// Square grid of (n + 1)^2 heights kept in the file's positions; (i, j) is column i, row j.
class HeightGrid {
public:
    HeightGrid(Vector3* positions, uint32_t n) : m_positions(positions), m_side(n + 1) {}

    uint32_t Index(uint32_t i, uint32_t j) const { return m_side * j + i; }
    float& At(uint32_t i, uint32_t j) { return m_positions[Index(i, j)].y; }

    // Each height becomes a tenth of its 3 x 3 block's sum (wrapping), updated in place; the
    // last row and column are copied onto the first so that the tile repeats.
    void Smooth()
    {
        const uint32_t n = m_side - 1;
        for (uint32_t i = 0; i <= n; ++i) {
            for (uint32_t j = 0; j <= n; ++j) {
                float sum = 0.0f;
                for (uint32_t di = 0; di < 3; ++di) {
                    for (uint32_t dj = 0; dj < 3; ++dj)
                        sum += At((i + di + n) % m_side, (j + dj + n) % m_side);
                }
                const float h = 0.1f * sum;
                At(i, j) = h;
                if (j == n)
                    At(i, 0) = h;
                if (i == n)
                    At(0, j) = h;
                if (i == n && j == n)
                    At(0, 0) = h;
            }
        }
    }

private:
    Vector3* m_positions;
    uint32_t m_side;
};

void FillTerrainFile(C3DObjectFileData& d, const TerrainParams& params, CRandomMT& random)
{
    const uint32_t n = static_cast<uint32_t>(params.segments);
    const float fn = static_cast<float>(n);
    const float cell = params.size / fn;
    const float half = fn * cell / 2.0f;
    HeightGrid grid(d.positions.data(), n);
    for (uint32_t i = 0; i <= n; ++i) {
        for (uint32_t j = 0; j <= n; ++j) {
            const uint32_t v = grid.Index(i, j);
            const double r = RandomNext(random) / 4294967296.0;
            d.positions[v] = Vector3{static_cast<float>(i) * cell - half, r >= kPeakChance ? kPeak : 0.0f,
                                     static_cast<float>(j) * cell - half};
            d.uvs[v] = Vector2{static_cast<float>(i) / fn * params.uScale,
                               (1.0f - static_cast<float>(j) / fn) * params.vScale};
            d.colors[v] = 0xFFFFFFFFu;
            d.colors2[v] = 0xFFFFFFFFu;
        }
    }
    for (uint32_t pass = 0; pass < kSmoothingPasses; ++pass)
        grid.Smooth();
    const float range = params.highHeight - params.lowHeight;
    for (uint32_t i = 0; i <= n; ++i) {
        for (uint32_t j = 0; j <= n; ++j) {
            float& h = grid.At(i, j);
            h = params.lowHeight + (1.0f - 0.02f * h) * range;
            if (!params.keepBorder && (i == 0 || j == 0 || i == n || j == n))
                h = 0.0f;
        }
    }
    uint32_t next = 0;
    for (uint32_t i = 1; i <= n; ++i) {
        for (uint32_t j = 0; j < n; ++j) {
            const uint32_t a = grid.Index(i - 1, j);
            const uint32_t b = grid.Index(i, j);
            const uint32_t dd = grid.Index(i - 1, j + 1);
            const uint32_t e = grid.Index(i, j + 1);
            const uint32_t cell6[6] = {dd, b, a, e, b, dd};
            for (uint32_t value : cell6)
                d.indices[next++] = value;
        }
    }
    d.parts[0] = C3DPrimitiveGroup{0, 0, d.VertexCount(), 0, d.IndexCount(), 2 * n * n, kPrimitiveTriangleList,
                                   kCullCounterClockwise};
}

Vector3 Sum(const Vector3& a, const Vector3& b) { return Vector3{a.x + b.x, a.y + b.y, a.z + b.z}; }

// Gives both vertices the normalised mean of their normals.
void JoinNormals(C3DObject& object, CMath3D& math, uint32_t a, uint32_t b)
{
    Vector3 na, nb;
    object.GetNormal(&na, a);
    object.GetNormal(&nb, b);
    Vector3 mean = Sum(na, nb);
    mean = Vector3{mean.x * 0.5f, mean.y * 0.5f, mean.z * 0.5f};
    math.Normalize3(&mean, &mean);
    object.SetNormal(a, &mean);
    object.SetNormal(b, &mean);
}

// Opposite edges get equal normals, and the four corners one normal, so that tiles join.
void JoinSeamNormals(C3DObject& object, CMath3D& math, uint32_t n)
{
    const uint32_t side = n + 1;
    auto at = [side](uint32_t i, uint32_t j) { return side * j + i; };
    for (uint32_t k = 0; k <= n; ++k)
        JoinNormals(object, math, at(k, 0), at(k, n));
    for (uint32_t k = 0; k <= n; ++k)
        JoinNormals(object, math, at(0, k), at(n, k));
    const uint32_t corners[4] = {at(0, 0), at(0, n), at(n, 0), at(n, n)};
    Vector3 sum{0.0f, 0.0f, 0.0f};
    for (uint32_t v : corners) {
        Vector3 normal;
        object.GetNormal(&normal, v);
        sum = Sum(sum, normal);
    }
    math.Normalize3(&sum, &sum);
    for (uint32_t v : corners)
        object.SetNormal(v, &sum);
}

} // namespace

Result BuildTerrain(C3DObject& object, const TerrainParams* params)
{
    if (params->segments <= 0)
        return RES_FAIL;
    const uint64_t n = static_cast<uint64_t>(params->segments);
    if (!ShapeCountsFit((n + 1) * (n + 1), 6 * n * n))
        return RES_FAIL;
    CWorldData* data = object.GetWorldData();
    if (!data->math)
        return RES_FAIL;

    std::unique_ptr<C3DObjectFile> file(new (std::nothrow) C3DObjectFile(data));
    if (!file || Failed(file->Init(1, static_cast<uint32_t>((n + 1) * (n + 1)), static_cast<uint32_t>(6 * n * n))))
        return RES_FAIL;
    FillTerrainFile(*file->GetData(), *params, data->random);
    const Result loaded = object.LoadFromRaw(file.get(), nullptr, nullptr, nullptr);
    file.reset();
    if (Failed(loaded))
        return RES_FAIL;

    if (Failed(object.Lock()))
        return RES_FAIL;
    IgnoreResult(object.ComputeNormals());
    JoinSeamNormals(object, *data->math, static_cast<uint32_t>(n));
    return Failed(object.Unlock(0)) ? RES_FAIL : RES_OK;
}
