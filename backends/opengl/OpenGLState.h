#pragma once
#include <cstdint>

#include "platform/win32/GLContext.h"

struct CWorldData;

// What the OpenGL engine shares with every object, buffer, texture and camera it makes: the
// window, its device context, the rendering context, the palette (only for formats that need
// one) and the flags derived once the context is current. The engine publishes its address as
// the data block's renderer state.
struct COpenGLState {
    HWND window;
    HDC dc;
    HGLRC context;
    HPALETTE palette;
    uint8_t glewReady;     // GLEW's entry points are loaded for the context
    uint8_t version14;     // the driver's version is at least 1.4: point parameters
    uint8_t multitexture;  // GL_ARB_multitexture: two stages through glActiveTextureARB
};

// The renderer state of the data block; null while no OpenGL engine published one.
COpenGLState* OpenGLStateOf(const CWorldData* data);
// True when the OpenGL engine found the multitexture extension.
bool HasMultitexture(const CWorldData* data);
