#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

// The X desktop as another client sees it: windows, their properties, the screen's pixels, and
// the pointer and keys of a user (XTEST). Each call opens its own connection to the display
// named (DISPLAY when empty); false or nothing when there is no such display.

// The top-level windows that the process says are its own (_NET_WM_PID).
std::vector<unsigned long> WindowsOfProcess(pid_t process, const std::string& display = "");
// A property of 32-bit items, read whole; false when the window has none of that name.
bool WindowProperty(unsigned long window, const char* name, std::vector<unsigned long>* items,
                    const std::string& display = "");

// Whether the window is mapped and viewable. The server handles a client's requests in order, so
// once it shows a window it has also handled what its program did to the window before mapping it.
bool WindowViewable(unsigned long window, const std::string& display = "");

// The screen as shown, 0xRRGGBB, rows from the top.
struct ScreenImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
bool GrabScreen(ScreenImage* image, const std::string& display = "");

// A user's pointer and keys: the pointer moved to a screen point, a left button or a key (an X
// key symbol name) pressed or let go.
bool MovePointer(int x, int y, const std::string& display = "");
bool SetLeftButton(bool down, const std::string& display = "");
bool SetKey(const char* key, bool down, const std::string& display = "");
