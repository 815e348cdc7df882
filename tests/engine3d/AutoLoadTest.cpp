#include "engine3d/AutoLoad.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "base/WideString.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectTypes.h"
#include "engine3d/Texture.h"
#include "tests/support/TextureLoadFixture.h"

namespace {

constexpr uint32_t kShared = 1;
constexpr uint32_t kAlphaLinear = 0x52;
constexpr uint8_t kModes[] = {kSourceMemory, kSourcePacker, kSourceFile};
const char16_t* const kSection = u"TEXTURES";

class AutoLoadTest : public TextureLoadTest {
protected:
    C3DObject* TwoParts()
    {
        C3DObject* object = engine->CreateObject(0x28010, 0x20C29);
        EXPECT_EQ(object->Create(2, 4, 6), RES_OK);
        return object;
    }

    // The name a key gives in a mode: the value, joined to the data folder for a file.
    std::u16string NameOf(uint8_t mode, const std::u16string& value) const
    {
        return mode == kSourceFile ? DataFolder() + value : value;
    }

    static std::string Line(const std::string& call, const std::u16string& name)
    {
        return "# " + call + " failed! (\"" + Utf16ToUtf8(name) + "\")\n";
    }

    // The log without the decoder's own lines.
    std::string LoaderLines() const
    {
        std::string lines;
        std::istringstream log(LogText());
        for (std::string line; std::getline(log, line);) {
            if (line.rfind("# C3DTextureRaw", 0) != 0)
                lines += line + "\n";
        }
        return lines;
    }
};

TEST_F(AutoLoadTest, EveryFunctionLoadsFromEverySource)
{
    for (uint8_t mode : kModes) {
        SCOPED_TRACE(mode);
        CMemoryTexture* sky = NewTexture();
        ASSERT_EQ(AutoLoadTextureFromParam(mode, sky, kSection, u"SKY", nullptr, params.get(), data), RES_OK);
        EXPECT_EQ(sky->Pixels(), SkyPixels());
        EXPECT_EQ(std::u16string(sky->GetName()), u"sky.png");

        CMemoryTexture* button = NewTexture();
        ASSERT_EQ(AutoLoadTexture(mode, button, u"ui\\button.tga", data), RES_OK);
        EXPECT_EQ(button->Pixels(), ButtonPixels());

        // In the pak the photo is followed by another entry: decoding stops at its end.
        C3DTexture* photo =
            AutoLoadTextureFromParamEx(mode, kShared, kAlphaLinear, kSection, u"PHOTO", nullptr, params.get(), engine);
        ASSERT_NE(photo, nullptr);
        EXPECT_EQ(photo->GetBits(), 8u);
        const std::vector<uint8_t>& grey = static_cast<CMemoryTexture*>(photo)->Pixels();
        ASSERT_EQ(grey.size(), 64u);
        for (uint8_t p : grey)
            EXPECT_NEAR(p, kPhotoGrey, 2);

        C3DObject* object = TwoParts();
        ASSERT_EQ(AutoLoad3DObjectTextureFromParam(mode, object, kShared, kAlphaLinear, 1, kSection, u"SKY", nullptr,
                                                   params.get(), data),
                  RES_OK);
        ASSERT_EQ(AutoLoad3DObjectOneTextureFromParam(mode, object, kShared, kAlphaLinear, 1, 0, kSection, u"BUTTON",
                                                      nullptr, params.get(), data),
                  RES_OK);
        C3DTexture* stage1 = object->GetTexture(0, 1);
        ASSERT_NE(stage1, nullptr);
        EXPECT_EQ(object->GetTexture(1, 1), stage1);
        EXPECT_EQ(static_cast<CMemoryTexture*>(stage1)->Pixels(), SkyPixels());
        EXPECT_EQ(object->GetTexture(0, 0), nullptr);
        ASSERT_NE(object->GetTexture(1, 0), nullptr);
        EXPECT_EQ(static_cast<CMemoryTexture*>(object->GetTexture(1, 0))->Pixels(), ButtonPixels());

        EXPECT_EQ(engine->DestroyObject(object), RES_OK);
        EXPECT_EQ(engine->DestroyTexture(photo), RES_OK);
        EXPECT_EQ(engine->DestroyTexture(button), RES_OK);
        EXPECT_EQ(engine->DestroyTexture(sky), RES_OK);
        EXPECT_EQ(engine->GetTextureCount(), 0u);
    }
    EXPECT_EQ(LogText(), "");
    EXPECT_EQ(Detail(), u"");
}

TEST_F(AutoLoadTest, AMissingKeyGivesTheDefault)
{
    CMemoryTexture* texture = NewTexture();
    EXPECT_EQ(AutoLoadTextureFromParam(kSourcePacker, texture, kSection, u"NOPE", u"ui\\button.tga", params.get(),
                                       data),
              RES_OK);
    EXPECT_EQ(texture->Pixels(), ButtonPixels());
    EXPECT_EQ(AutoLoadTextureFromParam(kSourceFile, texture, u"OTHER", u"SKY", u"img\\sky.png", params.get(), data),
              RES_OK);
    EXPECT_EQ(texture->Pixels(), SkyPixels());
}

// One call of each function for a key or name; the result tells success.
struct Call {
    const char* function;
    const char* memory;
    const char* packer;
    const char* file;
    std::function<bool(uint8_t mode, const char16_t* key)> load;
};

TEST_F(AutoLoadTest, FailuresLogTheirLineAndSetTheMissingFileDetail)
{
    CMemoryTexture* texture = NewTexture();
    C3DObject* object = TwoParts();
    CParamsReader* reader = params.get();
    const std::vector<Call> calls = {
        {"AutoLoadTextureFromParamEx", "eMakeTextureFromAddress", "eLoadTextureFromPacker", "eLoadTextureFromFile",
         [&](uint8_t mode, const char16_t* key) {
             return AutoLoadTextureFromParamEx(mode, kShared, kAlphaLinear, kSection, key, nullptr, reader, engine) !=
                    nullptr;
         }},
        {"AutoLoadTextureFromParam", "MakeTextureFromAddress", "LoadTextureFromPacker", "LoadTextureFromFile",
         [&](uint8_t mode, const char16_t* key) {
             return AutoLoadTextureFromParam(mode, texture, kSection, key, nullptr, reader, data) == RES_OK;
         }},
        {"AutoLoad3DObjectTextureFromParam", "MakeTextureFromAddress", "LoadTextureFromPacker", "LoadTextureFromFile",
         [&](uint8_t mode, const char16_t* key) {
             return AutoLoad3DObjectTextureFromParam(mode, object, kShared, kAlphaLinear, 0, kSection, key, nullptr,
                                                     reader, data) == RES_OK;
         }},
        {"AutoLoad3DObjectOneTextureFromParam", "MakeOneTextureFromAddress", "LoadOneTextureFromPacker",
         "LoadOneTextureFromFile",
         [&](uint8_t mode, const char16_t* key) {
             return AutoLoad3DObjectOneTextureFromParam(mode, object, kShared, kAlphaLinear, 1, 1, kSection, key,
                                                        nullptr, reader, data) == RES_OK;
         }},
    };
    const std::pair<const char16_t*, std::u16string> keys[] = {{u"MISSING", u"img\\none.png"},
                                                              {u"BROKEN", u"img\\broken.png"},
                                                              {u"TORN", u"img\\torn.jpg"}};
    for (const Call& call : calls) {
        for (uint8_t mode : kModes) {
            for (const auto& [key, value] : keys) {
                SCOPED_TRACE(std::string(call.function) + " " + std::to_string(mode) + " " + Utf16ToUtf8(key));
                const std::string before = LoaderLines();
                const char* loader =
                    mode == kSourceMemory ? call.memory : mode == kSourcePacker ? call.packer : call.file;
                const std::string line = Line(std::string(call.function) + "::" + loader, NameOf(mode, value));
                EXPECT_FALSE(call.load(mode, key));
                EXPECT_EQ(LoaderLines(), before + line);
                EXPECT_EQ(Detail(), u"Missing file: " + NameOf(mode, value));
            }
        }
    }
    EXPECT_FALSE(texture->IsLoaded());
    EXPECT_EQ(object->GetTexture(0, 0), nullptr);
    EXPECT_EQ(object->GetTexture(1, 1), nullptr);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
    EXPECT_EQ(renderer.Unload(), 0u);
}

TEST_F(AutoLoadTest, AutoLoadTextureLogsTheJoinedPathButDetailsTheName)
{
    CMemoryTexture* texture = NewTexture();
    const std::u16string name = u"img\\none.png";
    EXPECT_EQ(AutoLoadTexture(kSourceFile, texture, name.c_str(), data), RES_FAIL);
    EXPECT_EQ(LogText(), Line("AutoLoadTexture::LoadTextureFromFile", DataFolder() + name));
    EXPECT_EQ(Detail(), u"Missing file: " + name);
    EXPECT_EQ(AutoLoadTexture(kSourceMemory, texture, name.c_str(), data), RES_FAIL);
    EXPECT_EQ(AutoLoadTexture(kSourcePacker, texture, u"img\\broken.png", data), RES_FAIL);
    EXPECT_EQ(LoaderLines(), Line("AutoLoadTexture::LoadTextureFromFile", DataFolder() + name) +
                                 Line("AutoLoadTexture::MakeTextureFromAddress", name) +
                                 Line("AutoLoadTexture::LoadTextureFromPacker", u"img\\broken.png"));
    EXPECT_EQ(Detail(), u"Missing file: img\\broken.png");

    // A name or path that does not fit is not cut short.
    const std::u16string longName(300, u'a');
    EXPECT_EQ(AutoLoadTexture(kSourceMemory, texture, longName.c_str(), data), RES_FAIL);
    const std::u16string nearlyFull(259 - DataFolder().size() + 1, u'b');
    EXPECT_EQ(AutoLoadTexture(kSourceFile, texture, nearlyFull.c_str(), data), RES_FAIL);
    EXPECT_EQ(Detail(), u"Missing file: " + nearlyFull);
    EXPECT_FALSE(texture->IsLoaded());
}

TEST_F(AutoLoadTest, MissingLookupsFailCleanly)
{
    data->memoryLookup = nullptr;
    data->pakLookup = nullptr;
    CMemoryTexture* texture = NewTexture();
    EXPECT_EQ(AutoLoadTexture(kSourceMemory, texture, u"img\\sky.png", data), RES_FAIL);
    EXPECT_EQ(Detail(), u"Missing file: img\\sky.png");
    EXPECT_EQ(AutoLoadTextureFromParamEx(kSourceMemory, kShared, kAlphaLinear, kSection, u"SKY", nullptr,
                                         params.get(), engine),
              nullptr);
    EXPECT_EQ(AutoLoadTextureFromParam(kSourcePacker, texture, kSection, u"SKY", nullptr, params.get(), data),
              RES_FAIL);
    EXPECT_EQ(LogText(), Line("AutoLoadTexture::MakeTextureFromAddress", u"img\\sky.png") +
                             Line("AutoLoadTextureFromParamEx::eMakeTextureFromAddress", u"img\\sky.png") +
                             Line("AutoLoadTextureFromParam::LoadTextureFromPacker", u"img\\sky.png"));
    EXPECT_EQ(engine->GetTextureCount(), 1u);
    // Files need no lookup.
    EXPECT_EQ(AutoLoadTexture(kSourceFile, texture, u"img\\sky.png", data), RES_OK);
}

TEST_F(AutoLoadTest, OtherModesLoadNothingAndStayQuiet)
{
    CMemoryTexture* texture = NewTexture();
    C3DObject* object = TwoParts();
    for (uint8_t mode : {0, 3, 8, 5}) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(AutoLoadTexture(mode, texture, u"img\\none.png", data), RES_OK);
        EXPECT_EQ(AutoLoadTextureFromParam(mode, texture, kSection, u"SKY", nullptr, params.get(), data), RES_OK);
        EXPECT_EQ(AutoLoadTextureFromParamEx(mode, kShared, kAlphaLinear, kSection, u"SKY", nullptr, params.get(),
                                             engine),
                  nullptr);
        EXPECT_EQ(
            AutoLoad3DObjectTextureFromParam(mode, object, 0, 0, 0, kSection, u"SKY", nullptr, params.get(), data),
            RES_OK);
        EXPECT_EQ(AutoLoad3DObjectOneTextureFromParam(mode, object, 0, 0, 0, 0, kSection, u"SKY", nullptr,
                                                      params.get(), data),
                  RES_OK);
    }
    EXPECT_FALSE(texture->IsLoaded());
    EXPECT_EQ(object->GetTexture(0, 0), nullptr);
    EXPECT_EQ(engine->GetTextureCount(), 1u);
    EXPECT_EQ(LogText(), "");
    EXPECT_EQ(Detail(), u"");
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
}

TEST_F(AutoLoadTest, MissingTargetsAndReadersFailWithTheReport)
{
    CMemoryTexture* texture = NewTexture();
    EXPECT_EQ(AutoLoadTextureFromParam(kSourcePacker, nullptr, kSection, u"SKY", nullptr, params.get(), data),
              RES_FAIL);
    EXPECT_EQ(Detail(), u"Missing file: img\\sky.png");
    EXPECT_EQ(AutoLoad3DObjectOneTextureFromParam(kSourceFile, nullptr, 0, 0, 0, 0, kSection, u"SKY", nullptr,
                                                  params.get(), data),
              RES_FAIL);
    EXPECT_EQ(AutoLoadTexture(kSourcePacker, nullptr, u"img\\sky.png", data), RES_FAIL);
    EXPECT_EQ(AutoLoadTexture(kSourcePacker, texture, nullptr, data), RES_FAIL);
    EXPECT_EQ(AutoLoadTextureFromParam(kSourceMemory, texture, kSection, u"SKY", u"img\\sky.png", nullptr, data),
              RES_FAIL);
    EXPECT_EQ(Detail(), u"Missing file: ");
    EXPECT_EQ(LogText(), Line("AutoLoadTextureFromParam::LoadTextureFromPacker", u"img\\sky.png") +
                             Line("AutoLoad3DObjectOneTextureFromParam::LoadOneTextureFromFile",
                                  DataFolder() + u"img\\sky.png") +
                             Line("AutoLoadTexture::LoadTextureFromPacker", u"img\\sky.png") +
                             Line("AutoLoadTexture::LoadTextureFromPacker", u"") +
                             Line("AutoLoadTextureFromParam::MakeTextureFromAddress", u""));
    // Without a data block or an engine there is nowhere to report.
    EXPECT_EQ(AutoLoadTexture(kSourcePacker, texture, u"img\\sky.png", nullptr), RES_FAIL);
    EXPECT_EQ(AutoLoadTextureFromParamEx(kSourcePacker, 0, 0, kSection, u"SKY", nullptr, params.get(), nullptr),
              nullptr);
    EXPECT_FALSE(texture->IsLoaded());
}

TEST_F(AutoLoadTest, ObjectTexturesByPartAndStageHoldOneReferencePerSlot)
{
    C3DObject* object = TwoParts();
    ASSERT_EQ(AutoLoad3DObjectOneTextureFromParam(kSourcePacker, object, kShared, kAlphaLinear, 1, 1, kSection,
                                                  u"SKY", nullptr, params.get(), data),
              RES_OK);
    C3DTexture* sky = object->GetTexture(1, 1);
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(object->GetTexture(0, 1), nullptr);
    EXPECT_EQ(engine->GetTextureRefCount(sky), 1u);

    ASSERT_EQ(AutoLoad3DObjectOneTextureFromParam(kSourceFile, object, kShared, kAlphaLinear, kAllParts, 0, kSection,
                                                  u"BUTTON", nullptr, params.get(), data),
              RES_OK);
    C3DTexture* button = object->GetTexture(0, 0);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(object->GetTexture(1, 0), button);
    EXPECT_EQ(engine->GetTextureRefCount(button), 2u);

    // The same key again shares the cached texture, and a texture over a slot moves its reference.
    ASSERT_EQ(AutoLoad3DObjectTextureFromParam(kSourcePacker, object, kShared, kAlphaLinear, 1, kSection, u"SKY",
                                               nullptr, params.get(), data),
              RES_OK);
    EXPECT_EQ(object->GetTexture(0, 1), sky);
    EXPECT_EQ(engine->GetTextureRefCount(sky), 2u);
    ASSERT_EQ(AutoLoad3DObjectOneTextureFromParam(kSourceMemory, object, kShared, kAlphaLinear, 0, 0, kSection,
                                                  u"SKY", nullptr, params.get(), data),
              RES_OK);
    EXPECT_EQ(engine->GetTextureRefCount(sky), 3u);
    EXPECT_EQ(engine->GetTextureRefCount(button), 1u);

    // A failed load leaves the slots as they were.
    EXPECT_EQ(AutoLoad3DObjectTextureFromParam(kSourcePacker, object, kShared, kAlphaLinear, 1, kSection,
                                               u"BROKEN", nullptr, params.get(), data),
              RES_FAIL);
    EXPECT_EQ(object->GetTexture(0, 1), sky);
    EXPECT_EQ(engine->GetTextureCount(), 2u);

    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    EXPECT_EQ(engine->GetTextureCount(), 0u);
    EXPECT_EQ(renderer.Unload(), 0u);
}

TEST_F(AutoLoadTest, TheExFormHandsOutCachedTextures)
{
    C3DTexture* first = AutoLoadTextureFromParamEx(kSourcePacker, kShared, kAlphaLinear, kSection, u"SKY", nullptr,
                                                   params.get(), engine);
    C3DTexture* second = AutoLoadTextureFromParamEx(kSourceMemory, kShared, kAlphaLinear, kSection, u"SKY", nullptr,
                                                    params.get(), engine);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(engine->GetTextureRefCount(first), 2u);
    C3DTexture* own =
        AutoLoadTextureFromParamEx(kSourcePacker, 0, kAlphaLinear, kSection, u"SKY", nullptr, params.get(), engine);
    EXPECT_NE(own, first);
    EXPECT_EQ(engine->GetTextureCount(), 2u);
    EXPECT_EQ(engine->DestroyTexture(own), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(first), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(first), RES_OK);
    EXPECT_EQ(renderer.Unload(), 0u);
}

} // namespace
