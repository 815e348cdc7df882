// The test build of the program: linking the test switches installs them, read from the
// environment, before main runs. Without any of them set the program behaves as the shipped one.
// The drive's "state" reports the world of the main window.
#include "app/MainWindow.h"
#include "game/VadadiDazidevWorld.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/game/WorldStateReport.h"
#include "tests/support/platform/DriveHarness.h"
#include "tests/support/platform/TestSwitches.h"

namespace {

// Kept in optimised builds too, so that the linker takes the switches from their archive.
[[maybe_unused, gnu::used]] void (*const g_linkTestSwitches)() = ResetTestSwitches;

std::string ReportMainWindowWorld()
{
    HWND window = FindWindowW(kMainWindowClass, nullptr);
    auto* world = window ? static_cast<CWorld*>(GetPropW(window, kWorldProperty)) : nullptr;
    return ReportWorldState(dynamic_cast<CVadadiDazidevWorld*>(world));
}

struct CInstallReporter {
    CInstallReporter() { SetDriveReporter(ReportMainWindowWorld); }
} g_installReporter;

} // namespace
