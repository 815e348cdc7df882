// The test build of the program: linking the test switches installs them, read from the
// environment, before main runs. Without any of them set the program behaves as the shipped one.
#include "tests/support/platform/TestSwitches.h"

namespace {

[[maybe_unused]] void (*const g_linkTestSwitches)() = ResetTestSwitches;

} // namespace
