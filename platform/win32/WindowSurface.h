#pragma once
#include "platform/win32/ScreenScaling.h"

// What one GL context draws into for its window. A scaled window (ScreenScaling.h) is drawn into
// an image of its client area's size, which each swap puts on the window scaled, black around
// it; any other window is drawn into directly. Whatever the context had bound as the window stays
// bound as the window when the one changes into the other. The context must be current.
class CWindowSurface {
public:
    CWindowSurface() = default;
    CWindowSurface(const CWindowSurface&) = delete;
    CWindowSurface& operator=(const CWindowSurface&) = delete;

    // Takes up the window's scaling.
    void Follow(const CScreenScaling& scaling);
    // Puts the image on the window's back buffer (nothing when the window is drawn directly);
    // the state it touches comes back as it was.
    void Show(const CScreenScaling& scaling) const;
    // Forgets the image: deleting the context frees it.
    void Forget();

    // The framebuffer object that stands for the window (0: the window's own) and its colour
    // buffer to read and draw (GL_BACK on the window's own).
    unsigned int Framebuffer() const { return m_inUse ? m_framebuffer : 0; }
    unsigned int ColorBuffer() const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    bool Allocate(int width, int height);

    unsigned int m_framebuffer = 0;
    unsigned int m_color = 0;
    unsigned int m_depthStencil = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_inUse = false;
};
