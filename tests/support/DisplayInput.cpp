#include "tests/support/DisplayInput.h"

// Before X11, whose macros (None) clash with GoogleTest's names.
#include "tests/support/ImageFixtures.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <fstream>
#include <functional>
#include <vector>

namespace {

// Runs act on the open display; false when it does not open.
bool OnDisplay(const std::string& name, const std::function<bool(Display*)>& act)
{
    Display* display = XOpenDisplay(name.c_str());
    if (!display)
        return false;
    const bool done = act(display);
    XSync(display, False);
    XCloseDisplay(display);
    return done;
}

bool IsShownOfSize(Display* display, Window window, int width, int height)
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable &&
           attributes.width == width && attributes.height == height;
}

} // namespace

bool ClickOnScreen(const std::string& display, int x, int y)
{
    return OnDisplay(display, [&](Display* d) {
        return XTestFakeMotionEvent(d, -1, x, y, CurrentTime) && XTestFakeButtonEvent(d, 1, True, CurrentTime) &&
               XTestFakeButtonEvent(d, 1, False, CurrentTime);
    });
}

bool PressKeysOn(const std::string& display, std::initializer_list<const char*> keys)
{
    return OnDisplay(display, [&](Display* d) {
        std::vector<KeyCode> codes;
        for (const char* key : keys) {
            if (KeyCode code = XKeysymToKeycode(d, XStringToKeysym(key)))
                codes.push_back(code);
        }
        if (codes.size() != keys.size())
            return false;
        for (KeyCode code : codes)
            XTestFakeKeyEvent(d, code, True, CurrentTime);
        for (auto it = codes.rbegin(); it != codes.rend(); ++it)
            XTestFakeKeyEvent(d, *it, False, CurrentTime);
        return true;
    });
}

bool FindWindowOrigin(const std::string& display, int width, int height, int* x, int* y)
{
    return OnDisplay(display, [&](Display* d) {
        Window root = DefaultRootWindow(d), parent = 0, found = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(d, root, &root, &parent, &children, &count))
            return false;
        for (unsigned i = 0; i < count && !found; ++i) {
            if (IsShownOfSize(d, children[i], width, height))
                found = children[i];
        }
        XFree(children);
        Window child = 0;
        return found && XTranslateCoordinates(d, found, root, 0, 0, x, y, &child);
    });
}

bool CaptureScreen(const std::string& display, int x, int y, int width, int height, const std::string& path)
{
    PngFixture picture;
    const bool captured = OnDisplay(display, [&](Display* d) {
        XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, width, height, AllPlanes, ZPixmap);
        if (!image)
            return false;
        picture.width = width;
        picture.height = height;
        picture.colorType = 2;  // RGB
        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column) {
                const unsigned long pixel = XGetPixel(image, column, row);
                picture.rows.insert(picture.rows.end(), {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
                                                         static_cast<uint8_t>(pixel)});
            }
        XDestroyImage(image);
        return true;
    });
    const std::string png = captured ? EncodePng(picture) : "";
    return !png.empty() && static_cast<bool>(std::ofstream(path, std::ios::binary) << png);
}
