#include "tests/support/X11Desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <functional>

namespace {

// Runs the action on a connection of its own to the display; false without one.
bool OnDisplay(const std::string& name, const std::function<bool(Display*)>& action)
{
    Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (!display)
        return false;
    const bool done = action(display);
    XSync(display, False);
    XCloseDisplay(display);
    return done;
}

bool ReadProperty(Display* display, Window window, Atom name, std::vector<unsigned long>* items)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    const bool read = XGetWindowProperty(display, window, name, 0, 64, False, AnyPropertyType, &type, &format, &count,
                                         &left, &data) == Success &&
                      data && format == 32;
    if (read)
        items->assign(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
    if (data)
        XFree(data);
    return read;
}

} // namespace

std::vector<unsigned long> WindowsOfProcess(pid_t process, const std::string& display)
{
    std::vector<unsigned long> found;
    OnDisplay(display, [&](Display* connection) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(connection, DefaultRootWindow(connection), &root, &parent, &children, &count))
            return false;
        const Atom pid = XInternAtom(connection, "_NET_WM_PID", False);
        for (unsigned int i = 0; i < count; ++i) {
            std::vector<unsigned long> owner;
            if (ReadProperty(connection, children[i], pid, &owner) && owner.size() == 1 &&
                owner[0] == static_cast<unsigned long>(process))
                found.push_back(children[i]);
        }
        if (children)
            XFree(children);
        return true;
    });
    return found;
}

bool WindowProperty(unsigned long window, const char* name, std::vector<unsigned long>* items, const std::string& display)
{
    return OnDisplay(display, [&](Display* connection) {
        return ReadProperty(connection, window, XInternAtom(connection, name, False), items);
    });
}

bool WindowViewable(unsigned long window, const std::string& display)
{
    return OnDisplay(display, [&](Display* connection) {
        XWindowAttributes attributes{};
        return XGetWindowAttributes(connection, window, &attributes) && attributes.map_state == IsViewable;
    });
}

bool GrabScreen(ScreenImage* image, const std::string& display)
{
    return OnDisplay(display, [&](Display* connection) {
        const Window root = DefaultRootWindow(connection);
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(connection, root, &attributes))
            return false;
        XImage* shot = XGetImage(connection, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
        if (!shot)
            return false;
        image->width = attributes.width;
        image->height = attributes.height;
        image->pixels.resize(static_cast<size_t>(image->width) * image->height);
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x)
                image->pixels[static_cast<size_t>(y) * image->width + x] = XGetPixel(shot, x, y) & 0xFFFFFF;
        XDestroyImage(shot);
        return true;
    });
}

bool MovePointer(int x, int y, const std::string& display)
{
    return OnDisplay(display, [&](Display* connection) {
        return XTestFakeMotionEvent(connection, DefaultScreen(connection), x, y, CurrentTime) != 0;
    });
}

bool SetLeftButton(bool down, const std::string& display)
{
    return OnDisplay(display, [&](Display* connection) {
        return XTestFakeButtonEvent(connection, 1, down ? True : False, CurrentTime) != 0;
    });
}

bool SetKey(const char* key, bool down, const std::string& display)
{
    return OnDisplay(display, [&](Display* connection) {
        const KeyCode code = XKeysymToKeycode(connection, XStringToKeysym(key));
        return code != 0 && XTestFakeKeyEvent(connection, code, down ? True : False, CurrentTime) != 0;
    });
}
