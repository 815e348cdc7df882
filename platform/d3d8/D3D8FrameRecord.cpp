#include "platform/d3d8/D3D8FrameRecord.h"

#include <algorithm>
#include <cstring>

namespace {

template <class T>
bool SameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool SameLights(const std::map<DWORD, CD3D8Light>& a, const std::map<DWORD, CD3D8Light>& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const auto& x, const auto& y) {
               return x.first == y.first && x.second.enabled == y.second.enabled && SameBits(x.second.light, y.second.light);
           });
}

bool SameRects(const std::vector<D3DRECT>& a, const std::vector<D3DRECT>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(D3DRECT)) == 0);
}

bool SameCommand(const CD3D8FrameCommand& a, const CD3D8FrameCommand& b)
{
    if (a.draw != b.draw)
        return false;
    // A clear reads no state but the viewport.
    if (!a.draw)
        return SameBits(a.state.viewport, b.state.viewport) && SameRects(a.rects, b.rects) && a.flags == b.flags &&
               a.color == b.color && a.depthBits == b.depthBits && a.stencil == b.stencil;
    return a.textureVersions == b.textureVersions && D3D8SameDrawState(a.state, b.state) && a.type == b.type &&
           a.primitiveCount == b.primitiveCount && a.vertexCount == b.vertexCount && a.stride == b.stride &&
           a.indexSize == b.indexSize && a.vertices == b.vertices && a.indices == b.indices;
}

} // namespace

bool D3D8SameDrawState(const CD3D8State& a, const CD3D8State& b)
{
    return a.renderStates == b.renderStates && a.stageStates == b.stageStates && a.textures == b.textures &&
           SameBits(a.view, b.view) && SameBits(a.projection, b.projection) &&
           SameBits(a.textureTransforms, b.textureTransforms) && SameBits(a.world, b.world) &&
           SameLights(a.lights, b.lights) && SameBits(a.material, b.material) && SameBits(a.viewport, b.viewport) &&
           a.streamSource == b.streamSource && a.streamStride == b.streamStride && a.indices == b.indices &&
           a.baseVertexIndex == b.baseVertexIndex && a.vertexShader == b.vertexShader && a.pixelShader == b.pixelShader;
}

void CD3D8FrameRecord::Clear()
{
    m_commands.clear();
    m_executed = 0;
}

bool CD3D8FrameRecord::StandsAlone() const
{
    return std::any_of(m_commands.begin(), m_commands.end(),
                       [](const CD3D8FrameCommand& command) { return !command.draw && command.wholeTarget; });
}

bool CD3D8FrameRecord::SameAs(const CD3D8FrameRecord& other) const
{
    return m_commands.size() == other.m_commands.size() &&
           std::equal(m_commands.begin(), m_commands.end(), other.m_commands.begin(), SameCommand);
}
