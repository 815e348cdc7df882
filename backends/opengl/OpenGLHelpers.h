#pragma once
#include <cstdint>
#include <vector>

#include "platform/win32/GLContext.h"

// Small conversions of the OpenGL back end, free of any OpenGL call.

// An ARGB word as four floats in the order red, green, blue, alpha (each byte / 255).
void ArgbToFloats(uint32_t argb, float out[4]);

// Major and minor numbers at the start of a GL_VERSION text ("1.4", "2.1.2 vendor"); false when
// the text does not begin with two dot-separated numbers.
bool ParseGLVersion(const char* text, int* major, int* minor);
// True when the version text says 1.4 or later.
bool IsVersionAtLeast14(const char* text);
// Plain substring search of an extension name in a GL_EXTENSIONS text.
bool ExtensionTextHas(const char* extensions, const char* name);

// The value itself when it is a power of two, else the next power of two (0 stays 0).
uint32_t RaiseToPowerOfTwo(uint32_t value);

// The logical palette a pixel format needs: for a colour-index format the system entries with
// black, red, green and blue in entries 0 to 3; for an RGB format the ramp of its channel bits.
// At most 256 entries; systemEntries may be shorter than the palette (missing entries are black).
std::vector<PALETTEENTRY> BuildLogicalPalette(const PIXELFORMATDESCRIPTOR& format,
                                              const std::vector<PALETTEENTRY>& systemEntries);

// The OpenGL primitive mode of a primitive type (0 strip .. 5 points); false for another type.
bool GLModeOfPrimitive(uint32_t type, uint32_t* mode);
