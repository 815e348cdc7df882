#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/ParamsReader.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/TempDir.h"

// Texture loading on the memory renderer with real decoding. The same images lie in three
// places: as files under the data folder, as entries of a pak built with the pak writer (the
// data block's main pak, with FindPackerEntry as its lookup) and in memory behind the data
// block's memory lookup. Names and keys:
//   img\sky.png    4 x 2 RGBA PNG           [TEXTURES] SKY
//   img\photo.jpg  8 x 8 flat grey JPEG      [TEXTURES] PHOTO (followed by img\sky.png in the pak)
//   ui\button.tga  2 x 2 24-bit TGA          [TEXTURES] BUTTON
//   img\broken.png a PNG cut after its header [TEXTURES] BROKEN
//   img\torn.jpg   a JPEG cut inside its header [TEXTURES] TORN
//   [TEXTURES] MISSING names img\none.png, found nowhere.
// Logged lines are read back from the data block's log file.
class TextureLoadTest : public ::testing::Test {
protected:
    TextureLoadTest();
    ~TextureLoadTest() override;

    CMemoryTexture* NewTexture(uint32_t flags = 0, uint32_t parameter = 0);
    // The decoded pixels each texture must hold, bottom-up.
    static std::vector<uint8_t> SkyPixels();
    static std::vector<uint8_t> ButtonPixels();
    // The grey level of every pixel of the photo.
    static constexpr uint8_t kPhotoGrey = 120;

    std::u16string DataFolder() const;
    std::string LogText() const;
    std::u16string Detail() const;

    static std::string SkyPng();
    static std::string PhotoJpeg();
    static std::string ButtonTga();

    TempDir dir;
    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CWorldData* data = renderer.Data();
    std::unique_ptr<CParamsText> params;

private:
    std::string m_paramsText;
};
