#include "tests/support/TextureLoadFixture.h"

#include <png.h>

#include <algorithm>

#include "core/PackerFile.h"
#include "base/WideString.h"
#include "tests/support/ImageFixtures.h"
#include "tools/PakWriter.h"

namespace {

constexpr uint32_t kSkyWidth = 4;
constexpr uint32_t kSkyHeight = 2;

std::map<std::u16string, std::string> g_memory;

Result LookupMemory(const char16_t* name, CMemoryRecord* record)
{
    const auto found = g_memory.find(name);
    if (found == g_memory.end())
        return RES_FAIL;
    record->data = reinterpret_cast<const uint8_t*>(found->second.data());
    record->size = static_cast<uint32_t>(found->second.size());
    return RES_OK;
}

// Top-down RGBA rows, every pixel different.
std::vector<uint8_t> SkyRows()
{
    std::vector<uint8_t> rows;
    for (uint32_t y = 0; y < kSkyHeight; ++y) {
        for (uint32_t x = 0; x < kSkyWidth; ++x)
            rows.insert(rows.end(), {uint8_t(10 * x + 1), uint8_t(100 + y), 50, uint8_t(200 + x + 4 * y)});
    }
    return rows;
}

const char kParams[] = "[TEXTURES]\n"
                       "SKY=img\\sky.png\n"
                       "PHOTO=img\\photo.jpg\n"
                       "BUTTON=ui\\button.tga\n"
                       "BROKEN=img\\broken.png\n"
                       "TORN=img\\torn.jpg\n"
                       "MISSING=img\\none.png\n";

} // namespace

TextureLoadTest::TextureLoadTest() : m_paramsText(kParams)
{
    engine->SetDecodeImages(true);
    const std::map<std::string, std::string> images = {
        {"img\\sky.png", SkyPng()},
        {"img\\photo.jpg", PhotoJpeg()},
        {"ui\\button.tga", ButtonTga()},
        {"img\\broken.png", SkyPng().substr(0, 40)},
        {"img\\torn.jpg", PhotoJpeg().substr(0, 30)},
    };
    CPakWriter pak;
    for (const auto& [name, bytes] : images) {
        std::string file = name;
        std::replace(file.begin(), file.end(), '\\', '/');
        dir.Write("data/" + file, bytes);
        EXPECT_EQ(pak.Add(name, bytes), RES_OK);
        g_memory[Utf8ToUtf16(name)] = bytes;
    }
    const std::string pakPath = dir.File("main.pak");
    EXPECT_EQ(pak.Write(pakPath), RES_OK);
    EXPECT_EQ(OpenPackerFile(&data->pak, Utf8ToUtf16(pakPath).c_str(), 0), RES_OK);
    data->pakLookup = FindPackerEntry;
    data->memoryLookup = LookupMemory;
    WStrCopy(data->dataFolder, kMaxPathUnits, DataFolder().c_str());
    WStrCopy(data->logPath, kMaxPathUnits, dir.WideFile("game.log").c_str());
    params = std::make_unique<CParamsText>(m_paramsText.data(), static_cast<uint32_t>(m_paramsText.size()));
}

TextureLoadTest::~TextureLoadTest()
{
    ClosePackerFile(&data->pak);
    g_memory.clear();
}

CMemoryTexture* TextureLoadTest::NewTexture(uint32_t flags, uint32_t parameter)
{
    return static_cast<CMemoryTexture*>(engine->CreateTexture(flags, parameter));
}

std::vector<uint8_t> TextureLoadTest::SkyPixels()
{
    return FlipRows(SkyRows(), kSkyWidth * 4);
}

std::vector<uint8_t> TextureLoadTest::ButtonPixels()
{
    return {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10};
}

std::u16string TextureLoadTest::DataFolder() const
{
    return Utf8ToUtf16(dir.Path() + "/data/");
}

std::string TextureLoadTest::LogText() const
{
    return TempDir::Read(dir.File("game.log"));
}

std::u16string TextureLoadTest::Detail() const
{
    return data->errorDetail;
}

std::string TextureLoadTest::SkyPng()
{
    PngFixture sky;
    sky.width = kSkyWidth;
    sky.height = kSkyHeight;
    sky.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    sky.rows = SkyRows();
    return EncodePng(sky);
}

std::string TextureLoadTest::PhotoJpeg()
{
    return EncodeJpeg(8, 8, 1, std::vector<uint8_t>(64, kPhotoGrey), false);
}

std::string TextureLoadTest::ButtonTga()
{
    // Uncompressed true colour, 2 x 2, 24 bits, BGR pixels bottom row first.
    std::string tga(12, '\0');
    tga[2] = 2;
    tga += std::string{2, 0, 2, 0, 24, 0};
    for (char byte = 1; byte <= 12; ++byte)
        tga += byte;
    return tga;
}
