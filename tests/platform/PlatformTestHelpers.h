#pragma once
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "base/WideString.h"
#include "tests/support/DisplayCheck.h"
#include "tests/support/platform/TestSwitches.h"
#include "platform/win32/Win32Window.h"

// Every test starts and ends with a clean platform: no windows, empty queue, switches off.
class PlatformTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        PlatformShutdown();
        ResetTestSwitches();
    }

    // A class unique to this process, so test programs running side by side never meet.
    std::u16string UniqueClass(const char* base) const
    {
        return Utf8ToUtf16(std::string(base) + "-" + std::to_string(getpid()));
    }

    HWND MakeWindow(WNDPROC procedure, DWORD style = 0x06CA0000, int width = 320, int height = 240)
    {
        m_className = UniqueClass("PlatformTest");
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.lpszClassName = m_className.c_str();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&windowClass);
        return CreateWindowExW(0, m_className.c_str(), u"Platform test", style, 10, 10, width, height, GetDesktopWindow(),
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }

    std::u16string m_className;
};

// Removes every queued message.
inline void DrainQueue()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// The next queued message of one number, or WM_NULL.
inline MSG TakeMessage(UINT number)
{
    MSG message{};
    if (!PeekMessageW(&message, nullptr, number, number, PM_REMOVE))
        message.message = WM_NULL;
    return message;
}
