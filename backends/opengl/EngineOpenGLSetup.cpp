#include "backends/opengl/EngineOpenGL.h"

#include <GL/glew.h>

#include <cstdlib>
#include <vector>

#include "backends/opengl/OpenGLHelpers.h"
#include "core/Math3D.h"
#include "core/WorldData.h"

namespace {

constexpr uint32_t kLightCount = 2;
constexpr WORD kPaletteVersion = 0x300;
constexpr UINT kSystemPaletteEntries = 256;
constexpr float kShininess = 25.0f;

PIXELFORMATDESCRIPTOR WantedFormat()
{
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_STEREO_DONTCARE;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 32;
    wanted.cRedBits = 8;
    wanted.cRedShift = 16;
    wanted.cGreenBits = 8;
    wanted.cGreenShift = 8;
    wanted.cBlueBits = 8;
    wanted.cBlueShift = 0;
    wanted.cAccumBits = 64;
    wanted.cAccumRedBits = 16;
    wanted.cAccumGreenBits = 16;
    wanted.cAccumBlueBits = 16;
    wanted.cDepthBits = 32;
    wanted.cStencilBits = 8;
    wanted.iLayerType = PFD_MAIN_PLANE;
    return wanted;
}

void Grey(float level, float out[4])
{
    out[0] = out[1] = out[2] = level;
    out[3] = 1.0f;
}

} // namespace

Result C3DEngineOpenGL::SetupPixelFormat()
{
    HWND window = m_state.window;
    HDC dc = GetDC(window);
    if (!dc) {
        m_pWorldData->lastError = RES_NO_DEVICE;
        return RES_NO_DEVICE;
    }
    PIXELFORMATDESCRIPTOR format = WantedFormat();
    const int chosen = ChoosePixelFormat(dc, &format);
    if (chosen == 0 || !SetPixelFormat(dc, chosen, &format)) {
        ReleaseDC(window, dc);
        return RES_FAIL;
    }
    DescribePixelFormat(dc, chosen, sizeof(format), &format);
    if ((format.dwFlags & PFD_NEED_PALETTE) || format.iPixelType == PFD_TYPE_COLORINDEX)
        MakePalette(dc, format);
    ReleaseDC(window, dc);
    return RES_OK;
}

void C3DEngineOpenGL::MakePalette(HDC dc, const PIXELFORMATDESCRIPTOR& format)
{
    std::vector<PALETTEENTRY> system(kSystemPaletteEntries, PALETTEENTRY{0, 0, 0, 0});
    GetSystemPaletteEntries(dc, 0, kSystemPaletteEntries, system.data());
    const std::vector<PALETTEENTRY> entries = BuildLogicalPalette(format, system);
    const size_t bytes = sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * entries.size();
    LOGPALETTE* palette = static_cast<LOGPALETTE*>(calloc(1, bytes));
    if (!palette)
        return;
    palette->palVersion = kPaletteVersion;
    palette->palNumEntries = static_cast<WORD>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        palette->palPalEntry[i] = entries[i];
    if (m_state.palette)
        DeleteObject(m_state.palette);
    m_state.palette = CreatePalette(palette);
    if (m_state.palette) {
        SelectPalette(dc, m_state.palette, FALSE);
        RealizePalette(dc);
    }
    free(palette);
}

Result C3DEngineOpenGL::LightInit(uint32_t index)
{
    if (index >= kLightCount)
        return RES_FAIL;
    CLightRecord& light = m_pWorldData->lights[index];
    const GLenum id = GL_LIGHT0 + index;
    if (!light.enable[0]) {
        glDisable(id);
        return RES_OK;
    }
    glEnable(id);
    float ambient[4];
    float diffuse[4];
    float specular[4];
    Grey(light.ambientIntensity, ambient);
    Grey(light.diffuseIntensity, diffuse);
    Grey(light.specularIntensity, specular);
    glLightfv(id, GL_AMBIENT, ambient);
    glLightfv(id, GL_DIFFUSE, diffuse);
    glLightfv(id, GL_SPECULAR, specular);
    const float emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, kShininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
    glLightf(id, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(id, GL_LINEAR_ATTENUATION, 0.0f);
    glLightf(id, GL_QUADRATIC_ATTENUATION, 0.0f);

    float position[4];
    if (light.type == 0) {
        CMath3D local;
        CMath3D* math = m_pWorldData->math ? m_pWorldData->math : &local;
        const Vector3 from{light.position[0], light.position[1], light.position[2]};
        Vector3 direction{};
        math->Normalize3(&direction, &from);
        light.direction[0] = direction.x;
        light.direction[1] = direction.y;
        light.direction[2] = direction.z;
        position[0] = direction.x;
        position[1] = direction.y;
        position[2] = direction.z;
        position[3] = 0.0f;
    } else {
        light.direction[0] = light.direction[1] = light.direction[2] = 0.0f;
        position[0] = light.position[0];
        position[1] = light.position[1];
        position[2] = light.position[2];
        position[3] = 1.0f;
    }
    glLightfv(id, GL_POSITION, position);
    return RES_OK;
}

Result C3DEngineOpenGL::PointSpriteInit()
{
    const CWorldData* d = m_pWorldData;
    if (m_state.version14) {
        glPointParameterfv(GL_POINT_DISTANCE_ATTENUATION, d->pointSpriteAttenuation);
        glPointParameterf(GL_POINT_SIZE_MAX, d->pointSpriteMaxSize);
        glPointParameterf(GL_POINT_SIZE_MIN, d->pointSpriteMinSize);
    }
    return RES_OK;
}

Result C3DEngineOpenGL::FogingInit()
{
    const CFogRecord& fog = m_pWorldData->fog;
    float colour[4];
    ArgbToFloats(fog.color, colour);
    glFogfv(GL_FOG_COLOR, colour);
    glFogf(GL_FOG_START, fog.start);
    glFogf(GL_FOG_END, fog.end);
    glFogf(GL_FOG_DENSITY, fog.density);
    return RES_OK;
}
