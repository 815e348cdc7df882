#include "tests/support/ScreenshotSource.h"

#include <cstdio>

#include "base/WideString.h"
#include "core/PackerFile.h"
#include "core/WorldData.h"
#include "game/screens/KvoScreenshot.h"
#include "tests/support/ImageFixtures.h"
#include "tools/PakWriter.h"
#include "world/ModuleRegistry.h"

CScreenshotSource::CScreenshotSource(CWorldData* data, uint16_t module) : m_data(data)
{
    data->chosenModules[kModule3D].descriptor = FindModuleDescriptor(kModule3D, module);
    char16_t key[64];
    ScreenshotTextureKey(ScreenshotCopyOf(data->chosenModules[kModule3D].descriptor->code), data->workingWidth,
                         data->workingHeight, key, 64);
    const std::string name = Utf16ToUtf8(key);
    PngFixture png;
    png.colorType = 2;
    sscanf(name.c_str(), "SCREENSHOT_%ux%u", &png.width, &png.height);
    png.rows.assign(size_t{png.width} * png.height * 3, 0x40);
    CPakWriter pak;
    EXPECT_EQ(pak.Add(name + ".png", EncodePng(png)), RES_OK);
    m_text += name + " = " + name + ".png\n";
    EXPECT_EQ(OpenPackerFile(&data->pak, Utf8ToUtf16(m_dir.Write("shots.pak", pak.Bytes())).c_str(), 0), RES_OK);
    data->pakLookup = FindPackerEntry;
    m_params = std::make_unique<CParamsText>(m_text.c_str(), static_cast<uint32_t>(m_text.size()));
    data->gameParams = m_params.get();
}

CScreenshotSource::~CScreenshotSource()
{
    ClosePackerFile(&m_data->pak);
    m_data->gameParams = nullptr;
}
