#include "engine3d/Engine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/WideString.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/TempDir.h"

namespace {

constexpr uint32_t kShared = 1;
constexpr uint32_t kAlphaLinear = 0x52;

class TextureCacheTest : public ::testing::Test {
protected:
    TextureCacheTest()
    {
        root = dir.Path() + "/data/";
        dir.Write("data/img/c.png", "c");
        dir.Write("data/img/C2.png", "C");
        dir.Write("other/img/c.png", "c");
    }

    std::u16string Path(const std::string& relative) const { return Utf8ToUtf16(dir.Path() + "/" + relative); }

    void UseDataRoot() { data->dataRootPrefixLength = static_cast<int32_t>(Utf8ToUtf16(root).size()); }

    C3DTexture* LoadFile(uint32_t flags, const std::string& relative, uint32_t parameter = kAlphaLinear)
    {
        return engine->LoadTextureFromFile(flags, parameter, Path(relative).c_str());
    }

    TempDir dir;
    std::string root;
    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CWorldData* data = renderer.Data();
};

TEST_F(TextureCacheTest, SharedFileLoadsShareOneTextureUntilTheLastDestroy)
{
    UseDataRoot();
    C3DTexture* a = LoadFile(kShared, "data/img/c.png");
    C3DTexture* b = LoadFile(kShared, "data/img/c.png");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::u16string(a->GetName()), u"img/c.png");
    EXPECT_EQ(engine->GetTextureRefCount(a), 2u);
    EXPECT_EQ(engine->DestroyTexture(a), RES_OK);
    EXPECT_EQ(engine->GetTextureCount(), 1u);
    EXPECT_EQ(engine->DestroyTexture(a), RES_OK);
    EXPECT_EQ(engine->GetTextureCount(), 0u);
    EXPECT_EQ(engine->DestroyTexture(a), RES_FAIL);
}

TEST_F(TextureCacheTest, KeysMustMatchExactly)
{
    UseDataRoot();
    C3DTexture* shared = LoadFile(kShared, "data/img/c.png");
    C3DTexture* unshared = LoadFile(0, "data/img/c.png");
    C3DTexture* otherParameter = LoadFile(kShared, "data/img/c.png", 0x40);
    C3DTexture* otherCase = LoadFile(kShared, "data/img/C.png");  // same file, other letter case
    for (C3DTexture* t : {unshared, otherParameter, otherCase}) {
        ASSERT_NE(t, nullptr);
        EXPECT_NE(t, shared);
    }
    EXPECT_NE(LoadFile(0, "data/img/c.png"), unshared);
    EXPECT_EQ(engine->GetTextureRefCount(shared), 1u);
    EXPECT_EQ(engine->GetTextureCount(), 5u);
    EXPECT_EQ(renderer.Unload(), kListTextures);
}

TEST_F(TextureCacheTest, WithoutAPrefixTheFileNameIsTheKey)
{
    C3DTexture* a = LoadFile(kShared, "data/img/c.png");
    C3DTexture* b = LoadFile(kShared, "other/img/c.png");
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::u16string(a->GetName()), u"c.png");
    // Found by its key before any file is opened.
    C3DTexture* c = engine->LoadTextureFromFile(kShared, kAlphaLinear, u"data\\img\\c.png");
    EXPECT_EQ(c, a);
    EXPECT_EQ(engine->GetTextureRefCount(a), 3u);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(engine->DestroyTexture(a), RES_OK);
    EXPECT_EQ(renderer.Unload(), 0u);
}

TEST_F(TextureCacheTest, MemoryAndPakKeys)
{
    const uint8_t bytes[3] = {1, 2, 3};
    C3DTexture* a = engine->MakeTextureFromAddress(kShared, kAlphaLinear, bytes, 3, u"menu.png");
    C3DTexture* b = engine->MakeTextureFromAddress(kShared, kAlphaLinear, bytes, 3, u"menu.png");
    EXPECT_EQ(a, b);
    C3DTexture* nameless = engine->MakeTextureFromAddress(kShared, kAlphaLinear, bytes, 3, nullptr);
    EXPECT_NE(engine->MakeTextureFromAddress(kShared, kAlphaLinear, bytes, 3, nullptr), nameless);

    CPackerFile pak{};
    pak.file = tmpfile();
    ASSERT_NE(pak.file, nullptr);
    WStrCopy(pak.foundName, kMaxPathUnits, u"menu.png");
    EXPECT_EQ(engine->LoadTextureFromPacker(kShared, kAlphaLinear, &pak), a);
    EXPECT_EQ(engine->GetTextureRefCount(a), 3u);
    EXPECT_EQ(engine->LoadTextureFromPacker(kShared, kAlphaLinear, nullptr), nullptr);
    fclose(pak.file);
}

TEST_F(TextureCacheTest, AFailedLoadLeavesNoTexture)
{
    EXPECT_EQ(LoadFile(kShared, "data/img/none.png"), nullptr);
    EXPECT_EQ(data->lastError, RES_MISSING_FILE);
    engine->Failures().FailNth(MemoryOp::LoadTexture, 1);
    EXPECT_EQ(LoadFile(kShared, "data/img/c.png"), nullptr);
    engine->Failures().FailNth(MemoryOp::CreateTexture, 1);
    EXPECT_EQ(LoadFile(kShared, "data/img/c.png"), nullptr);
    EXPECT_EQ(engine->GetTextureCount(), 0u);
    EXPECT_NE(LoadFile(kShared, "data/img/c.png"), nullptr);
}

TEST_F(TextureCacheTest, AddRefOnlyForListedShareableTextures)
{
    C3DTexture* shared = engine->CreateTexture(kShared, kAlphaLinear);
    C3DTexture* single = engine->CreateTexture(0, kAlphaLinear);
    EXPECT_EQ(engine->AddRefTexture(shared), shared);
    EXPECT_EQ(engine->GetTextureRefCount(shared), 2u);
    EXPECT_EQ(engine->AddRefTexture(single), nullptr);
    EXPECT_EQ(engine->AddRefTexture(nullptr), nullptr);
    EXPECT_EQ(engine->DestroyTexture(shared), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(shared), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(single), RES_OK);
    EXPECT_EQ(renderer.Unload(), 0u);
}

class ObjectTextureTest : public TextureCacheTest {
protected:
    C3DObject* TwoParts()
    {
        C3DObject* object = engine->CreateObject(0x28010, 0x20C29);
        EXPECT_EQ(object->Create(2, 4, 6), RES_OK);
        return object;
    }
};

TEST_F(ObjectTextureTest, EachSlotHoldsOneReference)
{
    C3DObject* first = TwoParts();
    C3DObject* second = TwoParts();
    const std::u16string path = Path("data/img/c.png");
    ASSERT_EQ(first->LoadOneTextureFromFile(kShared, kAlphaLinear, path.c_str(), kAllParts, 0), RES_OK);
    C3DTexture* texture = first->GetTexture(1, 0);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(first->GetTexture(0, 0), texture);
    EXPECT_EQ(engine->GetTextureRefCount(texture), 2u);
    ASSERT_EQ(second->LoadOneTextureFromFile(kShared, kAlphaLinear, path.c_str(), 1, 0), RES_OK);
    EXPECT_EQ(second->GetTexture(1, 0), texture);
    EXPECT_EQ(engine->GetTextureRefCount(texture), 3u);

    EXPECT_EQ(engine->DestroyObject(first), RES_OK);
    EXPECT_EQ(engine->GetTextureRefCount(texture), 1u);
    EXPECT_EQ(second->ReleaseTexture(1, 0), RES_OK);
    EXPECT_EQ(second->GetTexture(1, 0), nullptr);
    EXPECT_EQ(engine->GetTextureCount(), 0u);
    EXPECT_EQ(engine->DestroyObject(second), RES_OK);
}

TEST_F(ObjectTextureTest, SettingASlotMovesItsReference)
{
    C3DObject* object = TwoParts();
    C3DTexture* a = engine->CreateTexture(0, kAlphaLinear);
    C3DTexture* b = engine->CreateTexture(0, kAlphaLinear);
    ASSERT_EQ(object->SetTextureAll(a, 1), RES_OK);
    EXPECT_EQ(engine->GetTextureRefCount(a), 3u);
    ASSERT_EQ(object->SetPartTexture(b, 0, 1), RES_OK);
    EXPECT_EQ(engine->GetTextureRefCount(a), 2u);
    EXPECT_EQ(engine->GetTextureRefCount(b), 2u);
    ASSERT_EQ(object->SetPartTexture(b, 0, 1), RES_OK);
    EXPECT_EQ(engine->GetTextureRefCount(b), 2u);
    EXPECT_EQ(object->SetPartTexture(b, 2, 0), RES_FAIL);
    EXPECT_EQ(object->SetPartTexture(b, 0, 2), RES_FAIL);

    C3DTexture stray(data, 0, 0);
    EXPECT_EQ(object->SetPartTexture(&stray, 1, 0), RES_FAIL);
    EXPECT_EQ(object->GetTexture(1, 0), nullptr);

    EXPECT_EQ(engine->DestroyTexture(a), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(b), RES_OK);
    EXPECT_EQ(engine->GetTextureCount(), 2u);  // still held by the object
    EXPECT_EQ(object->ReleaseTextureStage(1), RES_OK);
    EXPECT_EQ(engine->GetTextureCount(), 0u);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(ObjectTextureTest, EmptySourcesClearTheStageWithoutTheCache)
{
    C3DObject* object = TwoParts();
    const std::u16string path = Path("data/img/c.png");
    ASSERT_EQ(object->LoadTextureFromFile(kShared, kAlphaLinear, path.c_str(), 0), RES_OK);
    const uint32_t creations = engine->Failures().Calls(MemoryOp::CreateTexture);
    EXPECT_EQ(object->LoadOneTextureFromFile(kShared, kAlphaLinear, u"", kAllParts, 0), RES_OK);
    EXPECT_EQ(object->GetTexture(0, 0), nullptr);
    EXPECT_EQ(object->GetTexture(1, 0), nullptr);
    EXPECT_EQ(engine->GetTextureCount(), 0u);
    EXPECT_EQ(object->MakeOneTextureFromAddress(kShared, kAlphaLinear, nullptr, 5, 0, 0, u"x.png"), RES_OK);
    EXPECT_EQ(engine->Failures().Calls(MemoryOp::CreateTexture), creations);

    EXPECT_EQ(object->LoadOneTextureFromFile(kShared, kAlphaLinear, path.c_str(), 5, 0), RES_FAIL);
    EXPECT_EQ(engine->Failures().Calls(MemoryOp::CreateTexture), creations);
    EXPECT_EQ(object->LoadTextureFromFile(kShared, kAlphaLinear, Path("none.png").c_str(), 0), RES_FAIL);
    EXPECT_EQ(object->SaveTextureToFile(u"out.png", 0, 0), RES_FAIL);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    EXPECT_EQ(renderer.Unload(), 0u);
}

} // namespace
