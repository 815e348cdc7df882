#include "tests/support/PrivateDisplay.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kServer = "/usr/bin/Xvfb";

// What the server writes to the display descriptor once it accepts clients: its number and a
// line end. Empty when it ended first.
std::string ReadDisplayNumber(int descriptor)
{
    std::string number;
    char buffer[16];
    for (;;) {
        ssize_t got = read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return "";
        number.append(buffer, static_cast<size_t>(got));
        size_t end = number.find('\n');
        if (end != std::string::npos)
            return number.substr(0, end);
    }
}

} // namespace

bool PrivateDisplay::ServerInstalled()
{
    return access(kServer, X_OK) == 0;
}

PrivateDisplay::PrivateDisplay(const char* size)
{
    const std::string screen = std::string(size) + "x24";
    int ends[2];
    if (pipe(ends) != 0)
        return;
    m_server = fork();
    if (m_server == 0) {
        close(ends[0]);
        prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlives the test
        int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        std::string descriptor = std::to_string(ends[1]);
        execl(kServer, kServer, "-displayfd", descriptor.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
              "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    std::string number = m_server > 0 ? ReadDisplayNumber(ends[0]) : "";
    close(ends[0]);
    if (!number.empty())
        m_name = ":" + number;
}

PrivateDisplay::~PrivateDisplay()
{
    Stop();
}

void PrivateDisplay::Stop()
{
    if (m_server <= 0)
        return;
    kill(m_server, SIGTERM);
    waitpid(m_server, nullptr, 0);
    m_server = -1;
}

bool PressKeyChord(std::initializer_list<const char*> keys)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    std::vector<KeyCode> codes;
    for (const char* key : keys) {
        KeyCode code = XKeysymToKeycode(display, XStringToKeysym(key));
        if (code)
            codes.push_back(code);
    }
    bool complete = codes.size() == keys.size();
    if (complete) {
        for (KeyCode code : codes)
            XTestFakeKeyEvent(display, code, True, CurrentTime);
        for (auto it = codes.rbegin(); it != codes.rend(); ++it)
            XTestFakeKeyEvent(display, *it, False, CurrentTime);
        XSync(display, False);
    }
    XCloseDisplay(display);
    return complete;
}
