#include "backends/opengl/OpenGLHelpers.h"

#include <GL/glew.h>

#include <cctype>
#include <cstring>

#include "core/WorldData.h"
#include "backends/opengl/OpenGLState.h"
#include "engine3d/ObjectTypes.h"

namespace {

constexpr float kByteToUnit = 0.003921569f;
constexpr size_t kMaxPaletteEntries = 256;

// Reads a decimal number; false when no digit stands at *text.
bool ReadNumber(const char** text, int* out)
{
    const char* p = *text;
    if (!isdigit(static_cast<unsigned char>(*p)))
        return false;
    int value = 0;
    while (isdigit(static_cast<unsigned char>(*p))) {
        if (value < 100000)
            value = value * 10 + (*p - '0');
        ++p;
    }
    *out = value;
    *text = p;
    return true;
}

uint8_t RampValue(size_t entry, uint8_t shift, uint8_t bits)
{
    if (bits == 0 || bits > 8)
        return 0;
    const uint32_t mask = (1u << bits) - 1;
    return static_cast<uint8_t>(((entry >> shift) & mask) * 255 / mask);
}

} // namespace

COpenGLState* OpenGLStateOf(const CWorldData* data)
{
    return data ? static_cast<COpenGLState*>(data->rendererState) : nullptr;
}

bool HasMultitexture(const CWorldData* data)
{
    const COpenGLState* state = OpenGLStateOf(data);
    return state && state->multitexture;
}

void ArgbToFloats(uint32_t argb, float out[4])
{
    out[0] = static_cast<float>((argb >> 16) & 0xFF) * kByteToUnit;
    out[1] = static_cast<float>((argb >> 8) & 0xFF) * kByteToUnit;
    out[2] = static_cast<float>(argb & 0xFF) * kByteToUnit;
    out[3] = static_cast<float>((argb >> 24) & 0xFF) * kByteToUnit;
}

bool ParseGLVersion(const char* text, int* major, int* minor)
{
    if (!text)
        return false;
    const char* p = text;
    int first = 0;
    int second = 0;
    if (!ReadNumber(&p, &first) || *p != '.')
        return false;
    ++p;
    if (!ReadNumber(&p, &second))
        return false;
    *major = first;
    *minor = second;
    return true;
}

bool IsVersionAtLeast14(const char* text)
{
    int major = 0;
    int minor = 0;
    if (!ParseGLVersion(text, &major, &minor))
        return false;
    return major > 1 || (major == 1 && minor >= 4);
}

bool ExtensionTextHas(const char* extensions, const char* name)
{
    return extensions && name && strstr(extensions, name) != nullptr;
}

uint32_t RaiseToPowerOfTwo(uint32_t value)
{
    if (value == 0 || (value & (value - 1)) == 0)
        return value;
    uint32_t power = 1;
    while (power < value && power < 0x80000000u)
        power <<= 1;
    return power;
}

std::vector<PALETTEENTRY> BuildLogicalPalette(const PIXELFORMATDESCRIPTOR& format,
                                              const std::vector<PALETTEENTRY>& systemEntries)
{
    const size_t count = format.cColorBits >= 8 ? kMaxPaletteEntries : (size_t{1} << format.cColorBits);
    std::vector<PALETTEENTRY> entries(count, PALETTEENTRY{0, 0, 0, 0});
    for (size_t i = 0; i < count && i < systemEntries.size(); ++i)
        entries[i] = systemEntries[i];
    if (format.iPixelType == PFD_TYPE_COLORINDEX) {
        const PALETTEENTRY fixed[4] = {{0, 0, 0, PC_NOCOLLAPSE},
                                       {255, 0, 0, PC_NOCOLLAPSE},
                                       {0, 255, 0, PC_NOCOLLAPSE},
                                       {0, 0, 255, PC_NOCOLLAPSE}};
        for (size_t i = 0; i < 4 && i < count; ++i)
            entries[i] = fixed[i];
        return entries;
    }
    for (size_t i = 0; i < count; ++i) {
        entries[i].peRed = RampValue(i, format.cRedShift, format.cRedBits);
        entries[i].peGreen = RampValue(i, format.cGreenShift, format.cGreenBits);
        entries[i].peBlue = RampValue(i, format.cBlueShift, format.cBlueBits);
        entries[i].peFlags = 0;
    }
    return entries;
}

bool GLModeOfPrimitive(uint32_t type, uint32_t* mode)
{
    static const GLenum kModes[] = {GL_TRIANGLE_STRIP, GL_TRIANGLES, GL_TRIANGLE_FAN,
                                    GL_LINES,          GL_LINE_STRIP, GL_POINTS};
    if (type > kPrimitivePointList)
        return false;
    *mode = kModes[type];
    return true;
}
