#include "tests/support/ObjectFileFixtures.h"

#include "core/Log.h"

#include <cstring>

namespace {

std::u16string g_logText;

void CollectLog(const char16_t* text)
{
    g_logText += text;
}

C3dxVertex Vertex(float base)
{
    C3dxVertex v{};
    for (int i = 0; i < 3; ++i) {
        v.position[i] = base + float(i);
        v.normal[i] = -base - float(i) * 0.25f;
    }
    v.colour = 0xFF000000u | uint32_t(base * 16);
    v.colour2 = 0x80000000u | uint32_t(base * 32);
    v.uv[0] = base * 0.125f;
    v.uv[1] = 1.0f - base * 0.0625f;
    return v;
}

C3dxPart Part(uint32_t id, uint32_t firstVertex, uint32_t vertexCount, uint32_t firstIndex, uint32_t indexCount,
              uint32_t primitives, uint32_t type, uint32_t cull, const std::string& texture)
{
    C3dxPart part;
    part.record = {id, firstVertex, vertexCount, firstIndex, indexCount, primitives, type, cull};
    part.textureName = texture;
    part.textureFlags = 0x10 + id;
    part.textureParams = 0x50 + id;
    for (size_t i = 0; i < part.material.size(); ++i)
        part.material[i] = float(id) + 0.5f * float(i);
    return part;
}

} // namespace

C3dxModel SampleModel()
{
    C3dxModel model;
    model.parts.push_back(Part(0, 0, 4, 0, 6, 2, 1, 2, "wall.png"));
    model.parts.push_back(Part(1, 4, 3, 6, 3, 1, 0, 1, "floor.tga"));
    for (int v = 0; v < 7; ++v)
        model.vertices.push_back(Vertex(float(v + 1)));
    model.indices = {0, 1, 2, 2, 1, 3, 0, 1, 2};
    model.indexKind = 2;
    return model;
}

void ExpectBlockHolds(const C3DObjectFileData& block, const C3dxModel& model, uint32_t flags)
{
    ASSERT_EQ(block.PartCount(), model.parts.size());
    ASSERT_EQ(block.VertexCount(), model.vertices.size());
    ASSERT_EQ(block.IndexCount(), model.indices.size());
    for (size_t p = 0; p < model.parts.size(); ++p) {
        const C3dxPart& part = model.parts[p];
        const C3DPrimitiveGroup& g = block.parts[p];
        const std::array<uint32_t, 8> record = {g.id,         g.firstVertex,    g.vertexCount,   g.firstIndex,
                                                g.indexCount, g.primitiveCount, g.primitiveType, g.cullCode};
        EXPECT_EQ(record, part.record) << "part " << p;
        EXPECT_STREQ(block.textureNames[p].text, (flags & k3dxTextureNames) ? part.textureName.c_str() : "");
        EXPECT_EQ(block.textureFlags[p], (flags & k3dxTextureFlags) ? part.textureFlags : 0u);
        EXPECT_EQ(block.textureParams[p], (flags & k3dxTextureParams) ? part.textureParams : 0u);
        const C3DMaterial expected = DefaultMaterial();
        EXPECT_EQ(memcmp(&block.materials[p], (flags & k3dxMaterials) ? part.material.data() : &expected.diffuse[0],
                         sizeof(C3DMaterial)),
                  0)
            << "material of part " << p;
    }
    for (size_t i = 0; i < model.vertices.size(); ++i) {
        const C3dxVertex& v = model.vertices[i];
        const C3dxVertex zero{};
        const C3dxVertex& p = (flags & k3dxPositions) ? v : zero;
        const C3dxVertex& n = (flags & k3dxNormals) ? v : zero;
        const C3dxVertex& t = (flags & k3dxUVs) ? v : zero;
        EXPECT_EQ(block.positions[i].x, p.position[0]);
        EXPECT_EQ(block.positions[i].y, p.position[1]);
        EXPECT_EQ(block.positions[i].z, p.position[2]);
        EXPECT_EQ(block.normals[i].x, n.normal[0]);
        EXPECT_EQ(block.normals[i].y, n.normal[1]);
        EXPECT_EQ(block.normals[i].z, n.normal[2]);
        EXPECT_EQ(block.colors[i], (flags & k3dxColors) ? v.colour : 0u);
        EXPECT_EQ(block.colors2[i], (flags & k3dxColors2) ? v.colour2 : 0u);
        EXPECT_EQ(block.uvs[i].x, t.uv[0]);
        EXPECT_EQ(block.uvs[i].y, t.uv[1]);
    }
    EXPECT_EQ(block.indices, model.indices);
}

void ExpectSameBlocks(const C3DObjectFileData& a, const C3DObjectFileData& b)
{
    ASSERT_EQ(a.PartCount(), b.PartCount());
    ASSERT_EQ(a.VertexCount(), b.VertexCount());
    EXPECT_EQ(a.indexKind, b.indexKind);
    EXPECT_EQ(a.indices, b.indices);
    EXPECT_EQ(memcmp(a.parts.data(), b.parts.data(), a.parts.size() * sizeof(C3DPrimitiveGroup)), 0);
    EXPECT_EQ(memcmp(a.materials.data(), b.materials.data(), a.materials.size() * sizeof(C3DMaterial)), 0);
    EXPECT_EQ(memcmp(a.positions.data(), b.positions.data(), a.positions.size() * sizeof(Vector3)), 0);
    EXPECT_EQ(memcmp(a.normals.data(), b.normals.data(), a.normals.size() * sizeof(Vector3)), 0);
    EXPECT_EQ(memcmp(a.uvs.data(), b.uvs.data(), a.uvs.size() * sizeof(Vector2)), 0);
    EXPECT_EQ(a.colors, b.colors);
    EXPECT_EQ(a.colors2, b.colors2);
    EXPECT_EQ(a.textureFlags, b.textureFlags);
    EXPECT_EQ(a.textureParams, b.textureParams);
    for (uint32_t p = 0; p < a.PartCount(); ++p)
        EXPECT_STREQ(a.textureNames[p].text, b.textureNames[p].text);
}

std::string WithU32(std::string bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

void ObjectFileTest::SetUp()
{
    g_logText.clear();
    SetLogDebugHook(CollectLog);
}

void ObjectFileTest::TearDown()
{
    SetLogDebugHook(nullptr);
}

const std::u16string& ObjectFileTest::LogText()
{
    return g_logText;
}

void ObjectFileTest::ClearLog()
{
    g_logText.clear();
}
