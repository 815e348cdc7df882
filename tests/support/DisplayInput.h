#pragma once
#include <initializer_list>
#include <string>

// Real input and the screen of an X display given by name (":12"), as a user at it has them:
// what a test does while the program it drives is busy and answers nothing.

// A left click at the screen point (XTEST).
bool ClickOnScreen(const std::string& display, int x, int y);
// Presses the keys (X key symbol names) in order and releases them in reverse (XTEST).
bool PressKeysOn(const std::string& display, std::initializer_list<const char*> keys);
// The screen point of the first shown top-level window of that size; false when none is.
bool FindWindowOrigin(const std::string& display, int width, int height, int* x, int* y);
// The part of the screen as shown now, written to path as an RGB PNG.
bool CaptureScreen(const std::string& display, int x, int y, int width, int height, const std::string& path);
