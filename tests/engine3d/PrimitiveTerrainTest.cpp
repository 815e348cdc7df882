#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/Random.h"
#include "engine3d/Object.h"
#include "engine3d/PrimitiveParams.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/PrimitiveProbe.h"

namespace {

constexpr uint32_t kSeed = 5489;

// The height field as the terrain is meant to come out, in double precision, drawing from the
// standard library's MT19937: columns outer, rows inner; two wrapping 3 x 3 smoothing passes
// in place with the last row and column copied onto the first; remap; optional zero border.
std::vector<double> ReferenceHeights(uint32_t n, double low, double high, bool keepBorder, std::mt19937& gen)
{
    const uint32_t side = n + 1;
    std::vector<double> h(side * side);
    auto at = [&](uint32_t i, uint32_t j) -> double& { return h[side * j + i]; };
    for (uint32_t i = 0; i < side; ++i) {
        for (uint32_t j = 0; j < side; ++j)
            at(i, j) = gen() / 4294967296.0 >= 0.55 ? 100.0 : 0.0;
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (uint32_t i = 0; i < side; ++i) {
            for (uint32_t j = 0; j < side; ++j) {
                double sum = 0;
                for (int di = -1; di <= 1; ++di) {
                    for (int dj = -1; dj <= 1; ++dj)
                        sum += at((i + side + di) % side, (j + side + dj) % side);
                }
                const double value = 0.1 * sum;
                at(i, j) = value;
                if (j == n)
                    at(i, 0) = value;
                if (i == n)
                    at(0, j) = value;
                if (i == n && j == n)
                    at(0, 0) = value;
            }
        }
    }
    for (uint32_t i = 0; i < side; ++i) {
        for (uint32_t j = 0; j < side; ++j) {
            double& value = at(i, j);
            value = low + (1.0 - 0.02 * value) * (high - low);
            if (!keepBorder && (i == 0 || j == 0 || i == n || j == n))
                value = 0.0;
        }
    }
    return h;
}

class TerrainTest : public ::testing::Test {
protected:
    void SetUp() override { RandomSeed(renderer.Data()->random, kSeed); }

    void TearDown() override
    {
        for (C3DObject* object : objects)
            EXPECT_EQ(engine->DestroyObject(object), RES_OK);
        EXPECT_TRUE(engine->Misuses().empty());
        EXPECT_EQ(renderer.Unload(), 0u);
    }

    ObjectSnapshot Build(TerrainParams params)
    {
        C3DObject* object = engine->CreateObject(kFormatNormalTex, 0);
        objects.push_back(object);
        EXPECT_EQ(object->CreatePrimitive(kShapeTerrain, &params), RES_OK);
        return TakeSnapshot(object);
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    std::vector<C3DObject*> objects;
};

TEST_F(TerrainTest, OneCellBuiltByHand)
{
    // Seed 5489 draws 3499211612, 581869302, 3890346734, 3586334585: heights 100, 0, 100, 100
    // for (0, 0), (0, 1), (1, 0), (1, 1). Each 3 x 3 block weighs a vertex 1, its row and column
    // neighbours 2 and the diagonal one 4. Pass 1: 70, 74, 74.4, 69.44, ending with 69.44
    // everywhere through the copies. Pass 2 (in place): 62.496, 61.1072, 57.49632, 53.663232,
    // copied everywhere; 10 + (1 - 0.02 x 53.663232) x 10 = 9.2673536.
    const ObjectSnapshot s = Build(TerrainParams{2, 1, 10, 20, 1, {0, 0}, 1, 1});
    ASSERT_EQ(s.vertices.size(), 4u);
    for (const ProbeVertex& v : s.vertices) {
        EXPECT_NEAR(v.position.y, 9.2673536f, 1e-4f);
        EXPECT_NEAR(v.normal.y, 1.0f, 1e-5f);
    }
    EXPECT_EQ(s.indices, (std::vector<uint32_t>{2, 1, 0, 3, 1, 2}));
}

TEST_F(TerrainTest, SeedHeightsMatchAnIndependentComputation)
{
    const uint32_t n = 6;
    const ObjectSnapshot s = Build(TerrainParams{12, static_cast<int32_t>(n), -2, 8, 1, {0, 0}, 2, 3});
    std::mt19937 gen(kSeed);
    const std::vector<double> expected = ReferenceHeights(n, -2, 8, true, gen);
    EXPECT_EQ(RandomNext(renderer.Data()->random), gen()) << "one draw per vertex";

    const uint32_t side = n + 1;
    ASSERT_EQ(s.vertices.size(), side * side);
    bool varied = false;
    for (uint32_t j = 0; j < side; ++j) {
        for (uint32_t i = 0; i < side; ++i) {
            const ProbeVertex& v = s.vertices[side * j + i];
            EXPECT_NEAR(v.position.y, expected[side * j + i], 1e-3) << "column " << i << ", row " << j;
            EXPECT_NEAR(v.position.x, 2.0f * i - 6.0f, 1e-5f);
            EXPECT_NEAR(v.position.z, 2.0f * j - 6.0f, 1e-5f);
            EXPECT_NEAR(v.uv.x, 2.0f * i / n, 1e-5f);
            EXPECT_NEAR(v.uv.y, 3.0f * (1.0f - static_cast<float>(j) / n), 1e-5f);
            EXPECT_EQ(v.colour, 0xFFFFFFFFu);
            EXPECT_EQ(v.specular, 0xFFFFFFFFu);
            varied = varied || std::fabs(expected[side * j + i] - expected[0]) > 0.1;
        }
    }
    EXPECT_TRUE(varied);
}

TEST_F(TerrainTest, TileEdgesMatchInHeightAndNormal)
{
    const uint32_t n = 5;
    const ObjectSnapshot s = Build(TerrainParams{10, static_cast<int32_t>(n), 0, 30, 1, {0, 0}, 1, 1});
    const uint32_t side = n + 1;
    auto at = [&](uint32_t i, uint32_t j) { return s.vertices[side * j + i]; };
    for (uint32_t k = 0; k <= n; ++k) {
        EXPECT_EQ(at(k, 0).position.y, at(k, n).position.y);
        EXPECT_EQ(at(0, k).position.y, at(n, k).position.y);
        EXPECT_EQ(at(k, 0).normal.x, at(k, n).normal.x);
        EXPECT_EQ(at(k, 0).normal.y, at(k, n).normal.y);
        EXPECT_EQ(at(k, 0).normal.z, at(k, n).normal.z);
        EXPECT_EQ(at(0, k).normal.x, at(n, k).normal.x);
        EXPECT_EQ(at(0, k).normal.z, at(n, k).normal.z);
    }
    for (const ProbeVertex& v : s.vertices) {
        EXPECT_NEAR(Dot(v.normal, v.normal), 1.0f, 1e-4f);
        EXPECT_GT(v.normal.y, 0.0f);
    }
    for (uint32_t corner : {side * n, n, side * n + n})
        EXPECT_EQ(s.vertices[corner].normal.y, s.vertices[0].normal.y);

    // Cell (1, 0): a = (0, 0), b = (1, 0), d = (0, 1), e = (1, 1).
    EXPECT_EQ(std::vector<uint32_t>(s.indices.begin(), s.indices.begin() + 6),
              (std::vector<uint32_t>{6, 1, 0, 7, 1, 6}));
    const C3DPrimitiveGroup& r = s.records[0];
    EXPECT_EQ(r.id, 0u);
    EXPECT_EQ(r.vertexCount, side * side);
    EXPECT_EQ(r.indexCount, 6 * n * n);
    EXPECT_EQ(r.primitiveCount, 2 * n * n);
    EXPECT_EQ(r.cullCode, kCullCounterClockwise);
}

TEST_F(TerrainTest, ZeroBorderAfterTheRemapAndTheSameInterior)
{
    const uint32_t n = 4;
    const ObjectSnapshot kept = Build(TerrainParams{8, static_cast<int32_t>(n), 5, 9, 1, {0, 0}, 1, 1});
    RandomSeed(renderer.Data()->random, kSeed);
    const ObjectSnapshot flat = Build(TerrainParams{8, static_cast<int32_t>(n), 5, 9, 0, {0, 0}, 1, 1});
    const uint32_t side = n + 1;
    for (uint32_t j = 0; j < side; ++j) {
        for (uint32_t i = 0; i < side; ++i) {
            const uint32_t v = side * j + i;
            if (i == 0 || j == 0 || i == n || j == n)
                EXPECT_EQ(flat.vertices[v].position.y, 0.0f);
            else
                EXPECT_EQ(flat.vertices[v].position.y, kept.vertices[v].position.y);
        }
    }
}

} // namespace
