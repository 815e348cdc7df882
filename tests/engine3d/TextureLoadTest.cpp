#include "engine3d/Texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "core/PackerFile.h"
#include "base/WideString.h"
#include "engine3d/Engine.h"
#include "tests/support/TextureLoadFixture.h"

namespace {

constexpr uint32_t kShared = 1;
constexpr uint32_t kAlphaLinear = 0x52;

bool AllNear(const std::vector<uint8_t>& pixels, uint8_t value, int tolerance)
{
    return !pixels.empty() && std::all_of(pixels.begin(), pixels.end(), [&](uint8_t p) {
        return std::abs(int(p) - int(value)) <= tolerance;
    });
}

TEST_F(TextureLoadTest, LoadersDecodeEverySourceBottomUp)
{
    CMemoryTexture* texture = NewTexture();
    const std::string png = SkyPng();
    ASSERT_EQ(texture->MakeTextureFromAddress(reinterpret_cast<const uint8_t*>(png.data()),
                                              static_cast<uint32_t>(png.size()), u"img\\sky.png"),
              RES_OK);
    EXPECT_EQ(texture->GetWidth(), 4u);
    EXPECT_EQ(texture->GetHeight(), 2u);
    EXPECT_EQ(texture->GetBits(), 32u);
    EXPECT_EQ(texture->Pixels(), SkyPixels());
    EXPECT_EQ(std::u16string(texture->GetName()), u"sky.png");

    // The pak record's found name (as it was asked for) names the texture.
    ASSERT_EQ(FindPackerEntry(u"UI\\BUTTON.TGA", &data->pak), RES_OK);
    ASSERT_EQ(texture->LoadTextureFromPacker(&data->pak), RES_OK);
    EXPECT_EQ(texture->GetBits(), 24u);
    EXPECT_EQ(texture->Pixels(), ButtonPixels());
    EXPECT_EQ(std::u16string(texture->GetName()), u"BUTTON.TGA");

    data->dataRootPrefixLength = static_cast<int32_t>(DataFolder().size());
    ASSERT_EQ(texture->LoadTextureFromFile((DataFolder() + u"img\\photo.jpg").c_str()), RES_OK);
    EXPECT_EQ(texture->GetWidth(), 8u);
    EXPECT_EQ(texture->GetBits(), 8u);
    EXPECT_TRUE(AllNear(texture->Pixels(), kPhotoGrey, 2));
    EXPECT_EQ(std::u16string(texture->GetName()), u"img\\photo.jpg");
    EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
}

TEST_F(TextureLoadTest, AFailedLoadKeepsThePreviousImage)
{
    CMemoryTexture* texture = NewTexture();
    ASSERT_EQ(texture->LoadTextureFromFile((DataFolder() + u"img/sky.png").c_str()), RES_OK);

    EXPECT_EQ(texture->LoadTextureFromFile((DataFolder() + u"img/broken.png").c_str()), RES_FAIL);
    EXPECT_EQ(texture->LoadTextureFromFile((DataFolder() + u"img/none.png").c_str()), RES_FAIL);
    EXPECT_EQ(data->lastError, RES_MISSING_FILE);
    const std::string tga = ButtonTga();
    const auto* bytes = reinterpret_cast<const uint8_t*>(tga.data());
    EXPECT_EQ(texture->MakeTextureFromAddress(bytes, static_cast<uint32_t>(tga.size()), u"button.bmp"), RES_FAIL);
    EXPECT_EQ(texture->MakeTextureFromAddress(bytes, 17, u"button.tga"), RES_FAIL);
    EXPECT_EQ(texture->MakeTextureFromAddress(nullptr, 0, u"button.tga"), RES_FAIL);
    CPackerFile closed{};
    WStrCopy(closed.foundName, kMaxPathUnits, u"button.tga");
    EXPECT_EQ(texture->LoadTextureFromPacker(&closed), RES_FAIL);
    EXPECT_EQ(texture->LoadTextureFromPacker(nullptr), RES_FAIL);

    EXPECT_EQ(texture->Pixels(), SkyPixels());
    EXPECT_EQ(std::u16string(texture->GetName()), u"sky.png");
    EXPECT_TRUE(texture->IsLoaded());
    EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
}

TEST_F(TextureLoadTest, LoadedImagesAreFittedToTheDevice)
{
    data->maxTextureWidth = 2;
    data->maxTextureHeight = 2;
    CMemoryTexture* texture = NewTexture();
    ASSERT_EQ(texture->LoadTextureFromFile((DataFolder() + u"img/sky.png").c_str()), RES_OK);
    EXPECT_EQ(texture->GetWidth(), 2u);
    EXPECT_EQ(texture->GetHeight(), 2u);
    // Each new pixel is the mean of two neighbours of a row.
    const std::vector<uint8_t> sky = SkyPixels();
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(texture->Pixels()[i], (sky[i] + sky[i + 4]) / 2) << i;
    EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
}

TEST_F(TextureLoadTest, CreateKeepsTheNameByTheResourceRule)
{
    C3DTexture texture(data, 0, 0);
    EXPECT_EQ(texture.Create(1, 1, 8, nullptr, u"data\\img\\c.png"), RES_OK);
    EXPECT_EQ(std::u16string(texture.GetName()), u"c.png");
    EXPECT_EQ(texture.Create(1, 1, 8, nullptr, nullptr), RES_OK);
    EXPECT_EQ(std::u16string(texture.GetName()), u"c.png");
    EXPECT_EQ(texture.Create(1, 1, 8, nullptr, u"data/img\\d.png"), RES_OK);
    EXPECT_EQ(std::u16string(texture.GetName()), u"d.png");
    EXPECT_EQ(texture.Create(1, 1, 8, nullptr, u"data/img/e.png"), RES_OK);
    EXPECT_EQ(std::u16string(texture.GetName()), u"e.png");
    data->dataRootPrefixLength = 5;
    EXPECT_EQ(texture.Create(1, 1, 8, nullptr, u"data\\img\\c.png"), RES_OK);
    EXPECT_EQ(std::u16string(texture.GetName()), u"img\\c.png");
}

TEST_F(TextureLoadTest, TheCacheSharesDecodedPakTextures)
{
    ASSERT_EQ(FindPackerEntry(u"img\\photo.jpg", &data->pak), RES_OK);
    C3DTexture* first = engine->LoadTextureFromPacker(kShared, kAlphaLinear, &data->pak);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(FindPackerEntry(u"img\\photo.jpg", &data->pak), RES_OK);
    EXPECT_EQ(engine->LoadTextureFromPacker(kShared, kAlphaLinear, &data->pak), first);
    EXPECT_EQ(engine->GetTextureRefCount(first), 2u);

    ASSERT_EQ(FindPackerEntry(u"img\\broken.png", &data->pak), RES_OK);
    EXPECT_EQ(engine->LoadTextureFromPacker(kShared, kAlphaLinear, &data->pak), nullptr);
    EXPECT_EQ(engine->GetTextureCount(), 1u);
    EXPECT_EQ(engine->DestroyTexture(first), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(first), RES_OK);
    EXPECT_EQ(renderer.Unload(), 0u);
}

} // namespace
