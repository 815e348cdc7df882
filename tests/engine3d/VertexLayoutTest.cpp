#include "engine3d/SystemMemoryStorage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine3d/Object.h"
#include "tests/support/MemoryRenderer.h"

namespace {

// Little-endian image of one vertex written field by field.
class Bytes {
public:
    Bytes& F(float f)
    {
        uint8_t b[4];
        memcpy(b, &f, 4);
        m_bytes.insert(m_bytes.end(), b, b + 4);
        return *this;
    }
    Bytes& U(uint32_t u)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<uint8_t>(u >> (8 * i)));
        return *this;
    }
    const std::vector<uint8_t>& Get() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

class VertexLayoutTest : public ::testing::Test {
protected:
    // One vertex written with SetVertex(1, 2, 3, colour, 0.25, 0.75, 4, 5, 6, specular).
    std::vector<uint8_t> WriteOne(uint32_t flagsA, uint8_t* outSize)
    {
        C3DObject* object = engine->CreateObject(flagsA, 0);
        EXPECT_NE(object, nullptr);
        EXPECT_EQ(object->Create(1, 1, 3), RES_OK);
        EXPECT_EQ(object->Lock(), RES_OK);
        object->SetVertex(0, 1.0f, 2.0f, 3.0f, 0x80FF2010u, 0.25f, 0.75f, 4.0f, 5.0f, 6.0f, 0x11223344u);
        EXPECT_EQ(object->Unlock(0), RES_OK);
        const uint8_t* data = static_cast<const uint8_t*>(object->GetVertexSize(outSize));
        std::vector<uint8_t> bytes(data, data + *outSize);
        EXPECT_EQ(engine->DestroyObject(object), RES_OK);
        return bytes;
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
};

TEST_F(VertexLayoutTest, FourFormatsByteForByte)
{
    uint8_t size = 0;
    EXPECT_EQ(WriteOne(kFormatColorTex, &size),
              Bytes().F(1).F(2).F(3).U(0x80FF2010u).F(0.25f).F(0.75f).Get());
    EXPECT_EQ(size, 24);
    EXPECT_EQ(WriteOne(kFormatColor, &size), Bytes().F(1).F(2).F(3).U(0x80FF2010u).Get());
    EXPECT_EQ(size, 16);
    EXPECT_EQ(WriteOne(kFormatNormalTex2, &size), Bytes()
                                                      .F(1).F(2).F(3)
                                                      .F(4).F(5).F(6)
                                                      .U(0x80FF2010u).U(0x11223344u)
                                                      .F(0.25f).F(0.75f)
                                                      .F(0.25f).F(0.75f)
                                                      .Get());
    EXPECT_EQ(size, 48);
    EXPECT_EQ(WriteOne(kFormatNormalTex, &size), Bytes()
                                                     .F(1).F(2).F(3)
                                                     .F(4).F(5).F(6)
                                                     .U(0x80FF2010u).U(0x11223344u)
                                                     .F(0.25f).F(0.75f)
                                                     .Get());
    EXPECT_EQ(size, 40);
}

TEST_F(VertexLayoutTest, FirstFormatBitWinsInTheFixedOrder)
{
    EXPECT_EQ(VertexLayoutForFlags(0x12)->format, kFormatNormalTex);
    EXPECT_EQ(VertexLayoutForFlags(0x28010)->format, kFormatColorTex);
    EXPECT_EQ(VertexLayoutForFlags(0x0C)->format, kFormatNormalTex2);
    EXPECT_EQ(VertexLayoutForFlags(0x20000), nullptr);
}

TEST_F(VertexLayoutTest, MissingFieldsAreIgnoredOnWritingAndReadAsZero)
{
    C3DObject* object = engine->CreateObject(kFormatColor, 0);
    ASSERT_EQ(object->Create(1, 1, 1), RES_OK);
    ASSERT_EQ(object->Lock(), RES_OK);
    const Vector3 n{1, 1, 1};
    const Vector2 uv{0.5f, 0.5f};
    object->SetNormal(0, &n);
    object->SetUV(0, &uv);
    object->SetUV2(0, &uv);
    object->SetSpecular(0, 0xFFFFFFFFu);
    Vector3 outN{9, 9, 9};
    Vector2 outUV{9, 9};
    object->GetNormal(&outN, 0);
    object->GetUV(&outUV, 0);
    EXPECT_EQ(outN.x + outN.y + outN.z, 0.0f);
    EXPECT_EQ(outUV.x + outUV.y, 0.0f);
    EXPECT_EQ(object->GetSpecular(0), 0u);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    uint8_t size = 0;
    const uint8_t* data = static_cast<const uint8_t*>(object->GetVertexSize(&size));
    EXPECT_EQ(std::vector<uint8_t>(data, data + size), std::vector<uint8_t>(16, 0));
    EXPECT_TRUE(engine->Misuses().empty());
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(VertexLayoutTest, AccessOutsideLockTouchesNothingAndIsReported)
{
    C3DObject* object = engine->CreateObject(kFormatColorTex, 0);
    ASSERT_EQ(object->Create(1, 2, 2), RES_OK);
    object->SetVertexColor(0, 0xFFFFFFFFu);
    ASSERT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->GetVertexColor(0), 0u);
    object->SetVertexColor(2, 0xFFFFFFFFu);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    EXPECT_EQ(engine->Misuses().size(), 2u);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST(VertexStorageConvention, OpenGLStoresRedFirstAndFlippedV)
{
    CVertexStorage storage(StorageConvention::OpenGL);
    ASSERT_EQ(storage.Allocate(VertexLayoutForFlags(kFormatNormalTex2), 1), RES_OK);
    storage.Lock();
    storage.SetColour(0, 0x80FF0000u);
    storage.SetSpecular(0, 0x80FF0000u);
    storage.SetUV(0, Vector2{0.25f, 0.75f});
    storage.SetUV2(0, Vector2{0.5f, 0.125f});
    const uint8_t* colour = storage.Data() + 24;
    EXPECT_EQ(std::vector<uint8_t>(colour, colour + 4), (std::vector<uint8_t>{0xFF, 0x00, 0x00, 0x80}));
    const uint8_t* specular = storage.Data() + 28;
    EXPECT_EQ(std::vector<uint8_t>(specular, specular + 4), (std::vector<uint8_t>{0x00, 0x00, 0xFF, 0x80}));
    float stored[4];
    memcpy(stored, storage.Data() + 32, sizeof stored);
    EXPECT_FLOAT_EQ(stored[1], 0.25f);
    EXPECT_FLOAT_EQ(stored[3], 0.875f);

    uint32_t argb = 0;
    Vector2 uv{};
    EXPECT_TRUE(storage.GetColour(0, &argb));
    EXPECT_EQ(argb, 0x80FF0000u);
    EXPECT_TRUE(storage.GetUV(0, &uv));
    EXPECT_FLOAT_EQ(uv.x, 0.25f);
    EXPECT_FLOAT_EQ(uv.y, 0.75f);
    storage.Unlock();
    EXPECT_FALSE(storage.GetUV(0, &uv));
}

TEST(VertexStorageConvention, IndexStorageRefusesOtherElementSizes)
{
    CIndexStorage indices;
    EXPECT_EQ(indices.Allocate(3, 4), RES_FAIL);
    EXPECT_EQ(indices.Allocate(4, 4), RES_OK);
    EXPECT_FALSE(indices.Set(0, 1));
    indices.Lock();
    EXPECT_TRUE(indices.Set(3, 0xFFFFFFFFu));
    uint32_t value = 0;
    EXPECT_TRUE(indices.Get(3, &value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
}

} // namespace
