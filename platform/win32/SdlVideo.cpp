#include "platform/win32/SdlVideo.h"

#include <cstdio>
#include <cstdlib>

namespace {

enum class VideoState { NotTried, Running, Failed, Lost };
VideoState g_state = VideoState::NotTried;
constexpr const char* kDesktopDrivers = "x11,wayland";

bool NonEmpty(const char* name)
{
    const char* value = getenv(name);
    return value && *value;
}

} // namespace

bool HasDisplayEnvironment()
{
    return NonEmpty("DISPLAY") || NonEmpty("WAYLAND_DISPLAY");
}

bool EnsureSdlVideo()
{
    if (g_state == VideoState::NotTried) {
        // Ctrl+C must still end the program; minimising on focus loss is the game's decision.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        // A display that cannot be reached is an error, not SDL's invisible off-screen driver.
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, kDesktopDrivers, SDL_HINT_DEFAULT);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            g_state = VideoState::Running;
            // Raw X events tell which windows other clients destroyed.
            SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
            // The one pixel format every window is made with (see platform/GLContext.h).
            SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
            SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
            SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
            SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
            SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
            SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        } else {
            fprintf(stderr, "# SDL video unavailable: %s\n", SDL_GetError());
            g_state = VideoState::Failed;
        }
    }
    return g_state == VideoState::Running;
}

bool SdlVideoStarted()
{
    return g_state == VideoState::Running;
}

void MarkSdlVideoLost()
{
    if (g_state == VideoState::Running)
        g_state = VideoState::Lost;
}
