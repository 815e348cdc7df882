#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "core/ParamsReader.h"
#include "tests/support/TempDir.h"

struct CWorldData;

// Gives a rig's data block what the screenshot fader loads: the 3D module row of the id, and a
// game text and a pak with a grey picture of the size the module's screenshot key names.
class CScreenshotSource {
public:
    CScreenshotSource(CWorldData* data, uint16_t module);
    ~CScreenshotSource();

private:
    CWorldData* m_data;
    TempDir m_dir;
    std::string m_text = "[TEXTURES]\n";
    std::unique_ptr<CParamsText> m_params;
};
