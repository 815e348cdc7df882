#pragma once
#include <initializer_list>
#include <string>
#include <sys/types.h>

// An X server of the test's own (Xvfb, on a display number it picks itself), for tests whose real
// input must reach no other test's windows, or whose full-screen window must keep the screen.
// Ended with the object.
class PrivateDisplay {
public:
    // A screen of that width x height (24-bit colour).
    explicit PrivateDisplay(const char* size = "1280x1024");
    ~PrivateDisplay();
    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // ":<number>", or empty when the server could not start.
    const std::string& Name() const { return m_name; }

    static bool ServerInstalled();
    // Ends the server now, as a display that goes away does.
    void Stop();

private:
    pid_t m_server = -1;
    std::string m_name;
};

// Presses the keys (X key symbol names) in order on the display DISPLAY names and releases them
// in reverse, as a user's keyboard does (XTEST). False when the display or a key is missing.
bool PressKeyChord(std::initializer_list<const char*> keys);
