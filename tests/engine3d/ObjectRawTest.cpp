#include "engine3d/ObjectFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/WideString.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/TempDir.h"

namespace {

constexpr uint32_t kParts = 2;
constexpr uint32_t kVertices = 6;
constexpr uint32_t kIndices = 6;

// Two triangles, one per part; part 0's record names record 1 and part 1's record 0.
void FillFile(C3DObjectFile& file)
{
    ASSERT_EQ(file.Init(kParts, kVertices, kIndices), RES_OK);
    C3DObjectFileData& d = *file.GetData();
    d.indexKind = kIndexKind16;
    for (uint32_t v = 0; v < kVertices; ++v) {
        const float f = static_cast<float>(v);
        d.positions[v] = Vector3{f, f * 2, f * 3};
        d.normals[v] = Vector3{0.0f, 1.0f, 0.0f};
        d.colors[v] = 0xFF000000u | v;
        d.colors2[v] = 0x10000000u | v;
        d.uvs[v] = Vector2{f / 8, 1 - f / 8};
    }
    for (uint32_t i = 0; i < kIndices; ++i)
        d.indices[i] = i % 3;
    d.parts[0] = C3DPrimitiveGroup{1, 0, 3, 0, 3, 1, kPrimitiveTriangleList, kCullClockwise};
    d.parts[1] = C3DPrimitiveGroup{0, 3, 3, 3, 3, 1, kPrimitiveTriangleList, kCullCounterClockwise};
    d.materials[1].power = 7.5f;
    strcpy(d.textureNames[0].text, "wall.png");
    d.textureFlags[0] = 1;
    d.textureParams[0] = 0x52;
}

class ObjectRawTest : public ::testing::Test {
protected:
    C3DObject* Load(uint32_t flagsB, MemoryLookup memory, PackerLookup pak, const char16_t* folder,
                    Result expected = RES_OK)
    {
        C3DObject* object = engine->CreateObject(kFormatNormalTex2, flagsB);
        EXPECT_EQ(object->LoadFromRaw(&file, memory, pak, folder), expected);
        return object;
    }

    std::u16string Folder() const { return Utf8ToUtf16(dir.Path() + "/"); }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CWorldData* data = renderer.Data();
    C3DObjectFile file{renderer.Data()};
    TempDir dir;
};

TEST_F(ObjectRawTest, LoadThenSaveGivesTheSameFile)
{
    FillFile(file);
    dir.Write("wall.png", "not decoded");
    C3DObject* object = Load(kTextureStage0, nullptr, nullptr, Folder().c_str());
    ASSERT_NE(object->GetTexture(0, 0), nullptr);
    EXPECT_EQ(object->GetTexture(1, 0), nullptr);

    C3DObjectFile saved(data);
    ASSERT_EQ(object->SaveToRaw(&saved, 0), RES_OK);
    const C3DObjectFileData& a = *file.GetData();
    const C3DObjectFileData& b = *saved.GetData();
    ASSERT_EQ(b.PartCount(), kParts);
    ASSERT_EQ(b.VertexCount(), kVertices);
    ASSERT_EQ(b.IndexCount(), kIndices);
    EXPECT_EQ(b.indexKind, kIndexKind16);
    EXPECT_EQ(memcmp(a.indices.data(), b.indices.data(), kIndices * 4), 0);
    EXPECT_EQ(memcmp(a.positions.data(), b.positions.data(), kVertices * sizeof(Vector3)), 0);
    EXPECT_EQ(memcmp(a.normals.data(), b.normals.data(), kVertices * sizeof(Vector3)), 0);
    EXPECT_EQ(memcmp(a.colors.data(), b.colors.data(), kVertices * 4), 0);
    EXPECT_EQ(memcmp(a.colors2.data(), b.colors2.data(), kVertices * 4), 0);
    EXPECT_EQ(memcmp(a.uvs.data(), b.uvs.data(), kVertices * sizeof(Vector2)), 0);
    EXPECT_EQ(memcmp(a.parts.data(), b.parts.data(), kParts * sizeof(C3DPrimitiveGroup)), 0);
    EXPECT_EQ(memcmp(a.materials.data(), b.materials.data(), kParts * sizeof(C3DMaterial)), 0);
    EXPECT_STREQ(b.textureNames[0].text, "wall.png");
    EXPECT_EQ(b.textureFlags[0], 1u);
    EXPECT_EQ(b.textureParams[0], 0x52u);
    EXPECT_STREQ(b.textureNames[1].text, "");
    EXPECT_FALSE(object->GetActiveIndexBuffer() == nullptr);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    EXPECT_EQ(engine->GetTextureCount(), 0u);
}

TEST_F(ObjectRawTest, CreationFlagsOverrideTheCullCodes)
{
    FillFile(file);
    const std::pair<uint32_t, uint32_t> cases[] = {{kLoadCullNone, kCullNone},
                                                   {kLoadCullCounterClockwise, kCullCounterClockwise},
                                                   {kLoadCullClockwise, kCullClockwise}};
    for (const auto& c : cases) {
        C3DObject* object = Load(c.first, nullptr, nullptr, nullptr);
        EXPECT_EQ(object->GetCullMode(0), c.second);
        EXPECT_EQ(object->GetCullMode(1), c.second);
        EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    }
    C3DObject* object = Load(0, nullptr, nullptr, nullptr);
    EXPECT_EQ(object->GetCullMode(0), kCullClockwise);
    EXPECT_EQ(object->GetCullMode(1), kCullCounterClockwise);
    EXPECT_EQ(engine->GetTextureCount(), 0u);  // no texture stage bit: nothing loaded
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(ObjectRawTest, BadRecordsAreRefusedBeforeTheObjectChanges)
{
    FillFile(file);
    C3DObjectFileData& d = *file.GetData();
    const C3DPrimitiveGroup good = d.parts[1];
    C3DPrimitiveGroup bad[] = {good, good, good, good};
    bad[0].id = 2;
    bad[1].firstVertex = 4;  // 4 + 3 vertices past the six
    bad[2].indexCount = 0xFFFFFFFFu;
    bad[3].primitiveCount = 2;  // six indices in a three-index group
    for (const C3DPrimitiveGroup& record : bad) {
        d.parts[1] = record;
        C3DObject* object = Load(0, nullptr, nullptr, nullptr, RES_FAIL);
        EXPECT_EQ(object->GetPartCount(), 0u);
        EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    }
    d.parts[1] = good;
    d.indices[4] = 3;  // vertex 3 + 3 = 6 does not exist
    C3DObject* object = Load(0, nullptr, nullptr, nullptr, RES_FAIL);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    d.indices[4] = 1;
    d.parts[1].id = kPartNumberId;
    object = Load(0, nullptr, nullptr, nullptr);
    C3DPrimitiveGroup record{};
    ASSERT_EQ(object->GetPrimitiveGroup(1, &record), RES_OK);
    EXPECT_EQ(record.id, 1u);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(ObjectRawTest, MissingPartTextureIsReportedAndTheLoadGoesOn)
{
    FillFile(file);
    strcpy(file.GetData()->textureNames[1].text, "other.png");
    dir.Write("other.png", "x");
    C3DObject* object = Load(kTextureStage1, nullptr, nullptr, Folder().c_str());
    EXPECT_EQ(object->GetTexture(0, 0), nullptr);
    EXPECT_NE(object->GetTexture(1, 0), nullptr);
    EXPECT_EQ(data->lastError, static_cast<Result>(0x80000009u));
    EXPECT_EQ(std::u16string(data->errorDetail), u"Missing file: wall.png");
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

const uint8_t kBlock[4] = {1, 2, 3, 4};
int g_memoryLookups;

Result FindInMemory(const char16_t* name, CMemoryRecord* record)
{
    ++g_memoryLookups;
    if (std::u16string(name) != u"wall.png")
        return RES_FAIL;
    record->data = kBlock;
    record->size = sizeof kBlock;
    return RES_OK;
}

FILE* g_pakFile;

Result FindInPak(const char16_t* name, CPackerFile* pak)
{
    pak->file = g_pakFile;
    pak->foundSize = 9;
    WStrCopy(pak->foundName, kMaxPathUnits, name);
    return RES_OK;
}

TEST_F(ObjectRawTest, TexturesFromTheMemoryLookupOrThePak)
{
    FillFile(file);
    g_memoryLookups = 0;
    C3DObject* object = Load(kTextureStage0, &FindInMemory, &FindInPak, nullptr);
    ASSERT_NE(object->GetTexture(0, 0), nullptr);
    EXPECT_EQ(g_memoryLookups, 1);
    EXPECT_EQ(std::u16string(object->GetTexture(0, 0)->GetName()), u"wall.png");
    EXPECT_EQ(static_cast<CMemoryTexture*>(object->GetTexture(0, 0))->SourceSize(), 4u);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);

    g_pakFile = tmpfile();
    ASSERT_NE(g_pakFile, nullptr);
    object = Load(kTextureStage0, nullptr, &FindInPak, nullptr);
    ASSERT_NE(object->GetTexture(0, 0), nullptr);
    EXPECT_EQ(static_cast<CMemoryTexture*>(object->GetTexture(0, 0))->SourceSize(), 9u);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    fclose(g_pakFile);
}

TEST_F(ObjectRawTest, FileFormsFailCleanlyWithoutAReader)
{
    C3DObject* object = engine->CreateObject(kFormatColorTex, 0);
    EXPECT_LT(object->LoadFromFile(u"missing.3dx", nullptr), 0);
    EXPECT_EQ(object->GetName(), nullptr);
    EXPECT_EQ(object->SaveToFile(u"never.3dx", 0), RES_FAIL);  // no index buffer yet
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

} // namespace
