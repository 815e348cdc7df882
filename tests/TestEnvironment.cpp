#include <cstdlib>

// Part of every test program, set up before any test starts: Mesa's software rasterizer draws on
// the calling thread. With its worker threads, the leak check at exit stopped the threads while
// the rasterizer's were still starting and crashed now and then.
namespace {

struct CTestEnvironment {
    CTestEnvironment() { setenv("LP_NUM_THREADS", "0", 1); }
} g_testEnvironment;

} // namespace
