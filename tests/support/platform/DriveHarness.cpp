#include "tests/support/platform/DriveHarness.h"

#include <GL/gl.h>
#include <SDL.h>
#include <png.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/win32/DesktopState.h"
#include "platform/win32/GLContext.h"
#include "platform/win32/WindowRegistry.h"
#include "tests/support/platform/AudioCapture.h"

namespace {

struct CDrive {
    int socket = -1;
    std::string pending;   // bytes read past the last line
    std::string shotPath;  // written at the next swap
    bool stepping = false;  // a step's frame is running; answered at the next gate
    unsigned frames = 0;
};

// Made at first use: the switches start the drive while the program's statics are made.
CDrive& Drive()
{
    static CDrive drive;
    return drive;
}

std::function<std::string()>& Reporter()
{
    static std::function<std::string()> reporter;
    return reporter;
}

std::string Report()
{
    if (!Reporter())
        return "error no state report";
    const std::string report = Reporter()();
    return "ok frame=" + std::to_string(Drive().frames) + (report.empty() ? "" : " " + report);
}

bool ReadLine(std::string* line)
{
    for (;;) {
        const size_t end = Drive().pending.find('\n');
        if (end != std::string::npos) {
            *line = Drive().pending.substr(0, end);
            Drive().pending.erase(0, end + 1);
            return true;
        }
        char buffer[512];
        const ssize_t count = read(Drive().socket, buffer, sizeof buffer);
        if (count <= 0)
            return false;
        Drive().pending.append(buffer, static_cast<size_t>(count));
    }
}

void Answer(const std::string& text)
{
    const std::string line = text + "\n";
    if (write(Drive().socket, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
        StopDrive();
}

Uint32 WindowId()
{
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    return window ? SDL_GetWindowID(window) : 0;
}

// A client point of the drawing window as the pixel of its SDL window that shows it.
void ToWindowPixel(int* x, int* y)
{
    SDL_Window* sdl = SDL_GL_GetCurrentWindow();
    CWindow* window = sdl ? CWindowRegistry::Get().FindBySdlId(SDL_GetWindowID(sdl)) : nullptr;
    if (!window)
        return;
    const POINT pixel = WindowScaling(*window).ToDisplay(*x, *y);
    *x = pixel.x;
    *y = pixel.y;
}

bool PushMouse(const std::string& verb, int x, int y)
{
    ToWindowPixel(&x, &y);
    SDL_Event event{};
    if (verb == "move") {
        event.type = SDL_MOUSEMOTION;
        event.motion = {SDL_MOUSEMOTION, SDL_GetTicks(), WindowId(), 0, 0, x, y, 0, 0};
    } else {
        event.type = verb == "down" ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.type = event.type;
        event.button.windowID = WindowId();
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = verb == "down" ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        event.button.x = x;
        event.button.y = y;
    }
    return SDL_PushEvent(&event) == 1;
}

bool PushKey(SDL_Keycode code)
{
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        SDL_Event event{};
        event.key.type = type;
        event.key.windowID = WindowId();
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = code;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(code);
        if (SDL_PushEvent(&event) != 1)
            return false;
    }
    return true;
}

bool PushText(const std::string& text)
{
    SDL_Event event{};
    event.text.type = SDL_TEXTINPUT;
    event.text.windowID = WindowId();
    if (text.size() >= sizeof event.text.text)
        return false;
    memcpy(event.text.text, text.c_str(), text.size() + 1);
    return SDL_PushEvent(&event) == 1;
}

bool PushWheel(int steps)
{
    SDL_Event event{};
    event.wheel.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = WindowId();
    event.wheel.y = steps;
    event.wheel.preciseY = static_cast<float>(steps);
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_GetMouseState(&event.wheel.mouseX, &event.wheel.mouseY);
    return SDL_PushEvent(&event) == 1;
}

// The window manager's close request (its close button, Alt+F4).
bool PushClose()
{
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT;
    event.window.windowID = WindowId();
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    return SDL_PushEvent(&event) == 1;
}

// One input or shot command; its answer.
std::string Perform(const std::string& line)
{
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    int x = 0, y = 0;
    bool done = false;
    if (verb == "move" || verb == "down" || verb == "up")
        done = static_cast<bool>(words >> x >> y) && PushMouse(verb, x, y);
    else if (verb == "wheel")
        done = static_cast<bool>(words >> x) && PushWheel(x);
    else if (verb == "key")
        done = static_cast<bool>(words >> x) && PushKey(static_cast<SDL_Keycode>(x));
    else if (verb == "text")
        done = line.size() > 5 && PushText(line.substr(5));
    else if (verb == "close")
        done = PushClose();
    else if (verb == "shot")
        done = static_cast<bool>(words >> Drive().shotPath);
    else if (verb == "state")
        return Report();
    else
        return "error unknown command \"" + verb + "\"";
    return done ? "ok" : "error cannot perform \"" + line + "\"";
}

bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    // GL rows run bottom-up, which a negative stride tells libpng.
    const bool written = png_image_write_to_stdio(&image, file, 0, rgba.data(), -width * 4, nullptr) != 0;
    return fclose(file) == 0 && written;
}

} // namespace

bool StartDrive(const std::string& socketPath)
{
    StopDrive();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof address.sun_path)
        return false;
    memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    Drive().socket = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (Drive().socket < 0 || connect(Drive().socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        StopDrive();
        return false;
    }
    return true;
}

void SetDriveReporter(std::function<std::string()> reporter)
{
    Reporter() = std::move(reporter);
}

void StopDrive()
{
    if (Drive().socket >= 0)
        close(Drive().socket);
    Drive() = CDrive{};
}

bool DriveFrameGate()
{
    if (Drive().socket < 0)
        return true;
    if (Drive().stepping) {
        Drive().stepping = false;
        CaptureStepAudio();
        Answer("ok " + std::to_string(++Drive().frames));
        if (Drive().socket < 0)
            return true;
    }
    std::string line;
    if (!ReadLine(&line)) {
        StopDrive();
        return true;
    }
    if (line == "step") {
        Drive().stepping = true;
        return true;
    }
    Answer(Perform(line));
    return false;
}

void DriveBeforeSwap()
{
    if (Drive().shotPath.empty())
        return;
    const std::string path = Drive().shotPath;
    Drive().shotPath.clear();
    // The frame as the program drew it, before a scaled window's image is shown scaled.
    int width = 0, height = 0;
    if (!GLWindowSize(&width, &height) || width <= 0 || height <= 0)
        return;
    using BindFramebuffer = void (*)(GLenum, GLuint);
    auto bind = reinterpret_cast<BindFramebuffer>(SDL_GL_GetProcAddress("glBindFramebuffer"));
    // The renderer's read state comes back as it was.
    GLint readFramebuffer = 0, readBuffer = 0, alignment = 0;
    glGetIntegerv(0x8CAA /* GL_READ_FRAMEBUFFER_BINDING */, &readFramebuffer);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    if (bind)
        bind(0x8CA8 /* GL_READ_FRAMEBUFFER */, GLWindowFramebuffer());
    glReadBuffer(GLWindowColorBuffer());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<unsigned char> rgba(size_t(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    if (bind)
        bind(0x8CA8, static_cast<GLuint>(readFramebuffer));
    glReadBuffer(static_cast<GLenum>(readBuffer));
    if (!WritePng(path, width, height, rgba))
        fprintf(stderr, "# drive: cannot write the shot \"%s\"\n", path.c_str());
}
