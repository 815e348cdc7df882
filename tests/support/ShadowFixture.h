#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/Vector3.h"
#include "engine3d/ObjectTypes.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/MemoryShaderShadow.h"

// A memory renderer with one stencil shadow and the objects a test casts from; tear-down
// destroys them and expects no misuse and nothing left in the engine's lists.
class ShadowFixture : public ::testing::Test {
protected:
    void TearDown() override;

    // A one-part object of format 0x02 whose part draws the indices as the given primitive type.
    C3DObject* Mesh(const std::vector<Vector3>& positions, const std::vector<uint32_t>& indices,
                    uint32_t type = kPrimitiveTriangleList);
    // A generated shape of a PrimitiveShape kind.
    C3DObject* Shape(uint32_t kind, void* params);
    // The test's shadow, made on first use with `casters` records.
    CMemoryStencilShadow* Shadow(uint32_t casters = 1);
    // Sets caster 0 to the object placed by `placement`, puts light 0 at `light` and builds the
    // volume; answers the caster (the build's result in *result when given).
    const C3DShadowCaster* Cast(C3DObject* object, const Vector3& light, Result* result = nullptr);
    // Silhouette edges of the last build: six side points each.
    uint32_t Edges(const C3DShadowCaster* caster) const { return caster->sideCount / 6; }
    bool IsLocked(C3DObject* object) const;

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    Matrix4 placement{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    std::vector<C3DObject*> objects;
    CMemoryStencilShadow* shadow = nullptr;
};
