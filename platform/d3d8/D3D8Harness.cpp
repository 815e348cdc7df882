#include "platform/d3d8/D3D8Harness.h"

namespace {

CD3D8Harness* g_harness = nullptr;

} // namespace

CD3D8Harness* D3D8Harness()
{
    return g_harness;
}

void SetD3D8Harness(CD3D8Harness* harness)
{
    g_harness = harness;
}
