#include "platform/d3d8/D3D8Uniforms.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr UINT kMostLights = 8;

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b)
{
    D3DMATRIX product{};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += a.m[row][k] * b.m[k][column];
            product.m[row][column] = sum;
        }
    }
    return product;
}

// The inverse transpose of the upper 3 x 3 part, row-major, for normals taken as row vectors.
void NormalMatrix(const D3DMATRIX& m, float out[9])
{
    float a = m.m[0][0], b = m.m[0][1], c = m.m[0][2];
    float d = m.m[1][0], e = m.m[1][1], f = m.m[1][2];
    float g = m.m[2][0], h = m.m[2][1], i = m.m[2][2];
    float cofactors[9] = {e * i - f * h, f * g - d * i, d * h - e * g, c * h - b * i, a * i - c * g,
                          b * g - a * h, b * f - c * e, c * d - a * f, a * e - b * d};
    float determinant = a * cofactors[0] + b * cofactors[1] + c * cofactors[2];
    float scale = std::fabs(determinant) > 1e-30f ? 1.0f / determinant : 0.0f;
    for (int k = 0; k < 9; ++k)
        out[k] = cofactors[k] * scale;  // the cofactor matrix over the determinant is the inverse transposed
}

void Color(GLint location, D3DCOLOR color)
{
    if (location < 0)
        return;
    glUniform4f(location, static_cast<float>((color >> 16) & 0xFF) / 255.0f, static_cast<float>((color >> 8) & 0xFF) / 255.0f,
                static_cast<float>(color & 0xFF) / 255.0f, static_cast<float>(color >> 24) / 255.0f);
}

void Value(GLint location, const D3DCOLORVALUE& color)
{
    if (location >= 0)
        glUniform4f(location, color.r, color.g, color.b, color.a);
}

void LoadLights(const CD3D8Program& program, const CD3D8State& state)
{
    std::vector<float> diffuse, specular, ambient, position, direction, attenuation, spot;
    const D3DMATRIX& view = state.view;
    for (const auto& entry : state.lights) {
        if (!entry.second.enabled || diffuse.size() >= kMostLights * 4)
            continue;
        const D3DLIGHT8& light = entry.second.light;
        const D3DVECTOR& p = light.Position;
        const D3DVECTOR& d = light.Direction;
        for (int k = 0; k < 3; ++k) {
            position.push_back(p.x * view.m[0][k] + p.y * view.m[1][k] + p.z * view.m[2][k] + view.m[3][k]);
            direction.push_back(d.x * view.m[0][k] + d.y * view.m[1][k] + d.z * view.m[2][k]);
        }
        position.push_back(static_cast<float>(light.Type));
        direction.push_back(0.0f);
        auto push = [](std::vector<float>& target, const D3DCOLORVALUE& color) {
            target.insert(target.end(), {color.r, color.g, color.b, color.a});
        };
        push(diffuse, light.Diffuse);
        push(specular, light.Specular);
        push(ambient, light.Ambient);
        attenuation.insert(attenuation.end(), {light.Attenuation0, light.Attenuation1, light.Attenuation2, light.Range});
        spot.insert(spot.end(), {std::cos(light.Theta / 2.0f), std::cos(light.Phi / 2.0f), light.Falloff, 0.0f});
    }
    if (diffuse.empty())
        return;
    GLsizei count = static_cast<GLsizei>(diffuse.size() / 4);
    std::pair<ED3D8Uniform, const std::vector<float>*> arrays[] = {
        {ED3D8Uniform::LightDiffuse, &diffuse},         {ED3D8Uniform::LightSpecular, &specular},
        {ED3D8Uniform::LightAmbient, &ambient},         {ED3D8Uniform::LightPosition, &position},
        {ED3D8Uniform::LightDirection, &direction},     {ED3D8Uniform::LightAttenuation, &attenuation},
        {ED3D8Uniform::LightSpot, &spot},
    };
    for (const auto& array : arrays) {
        GLint location = program.Location(array.first);
        if (location >= 0)
            glUniform4fv(location, count, array.second->data());
    }
}

// Whether the program's values of the group are older than the state's; they count as loaded from now.
bool Stale(CD3D8Program& program, const CD3D8State& state, uint32_t group)
{
    size_t index = static_cast<size_t>(__builtin_ctz(group));
    if (program.loaded[index] == state.serials[index])
        return false;
    program.loaded[index] = state.serials[index];
    return true;
}

void LoadTransforms(const CD3D8Program& program, const CD3D8State& state)
{
    D3DMATRIX worldView = Multiply(state.world[0], state.view);
    glUniformMatrix4fv(program.Location(ED3D8Uniform::WorldView), 1, GL_FALSE, &worldView.m[0][0]);
    glUniformMatrix4fv(program.Location(ED3D8Uniform::Projection), 1, GL_FALSE, &state.projection.m[0][0]);
    GLint normal = program.Location(ED3D8Uniform::NormalMatrix);
    if (normal >= 0) {
        float matrix[9];
        NormalMatrix(worldView, matrix);
        glUniformMatrix3fv(normal, 1, GL_FALSE, matrix);
    }
}

void LoadConstants(const CD3D8Program& program, const CD3D8State& state, const D3DCAPS8& caps, UINT targetWidth,
                   UINT targetHeight)
{
    const D3DVIEWPORT8& viewport = state.viewport;
    glUniform4f(program.Location(ED3D8Uniform::Target), 1.0f / static_cast<float>(std::max<DWORD>(viewport.Width, 1)),
                1.0f / static_cast<float>(std::max<DWORD>(viewport.Height, 1)), static_cast<float>(targetWidth),
                static_cast<float>(targetHeight));
    glUniform4f(program.Location(ED3D8Uniform::Point), state.RenderFloat(D3DRS_POINTSIZE),
                state.RenderFloat(D3DRS_POINTSIZE_MIN),
                std::min(state.RenderFloat(D3DRS_POINTSIZE_MAX), caps.MaxPointSize), static_cast<float>(viewport.Height));
    glUniform3f(program.Location(ED3D8Uniform::PointScale), state.RenderFloat(D3DRS_POINTSCALE_A),
                state.RenderFloat(D3DRS_POINTSCALE_B), state.RenderFloat(D3DRS_POINTSCALE_C));
    GLint fog = program.Location(ED3D8Uniform::Fog);
    if (fog >= 0)
        glUniform4f(fog, state.RenderFloat(D3DRS_FOGSTART), state.RenderFloat(D3DRS_FOGEND),
                    state.RenderFloat(D3DRS_FOGDENSITY), 0.0f);
    Color(program.Location(ED3D8Uniform::FogColor), state.Render(D3DRS_FOGCOLOR));
    GLint alphaRef = program.Location(ED3D8Uniform::AlphaRef);
    if (alphaRef >= 0)
        glUniform1f(alphaRef, static_cast<float>(state.Render(D3DRS_ALPHAREF) & 0xFF));
    Color(program.Location(ED3D8Uniform::Ambient), state.Render(D3DRS_AMBIENT));
}

void LoadMaterial(const CD3D8Program& program, const CD3D8State& state)
{
    Value(program.Location(ED3D8Uniform::MaterialDiffuse), state.material.Diffuse);
    Value(program.Location(ED3D8Uniform::MaterialAmbient), state.material.Ambient);
    Value(program.Location(ED3D8Uniform::MaterialSpecular), state.material.Specular);
    Value(program.Location(ED3D8Uniform::MaterialEmissive), state.material.Emissive);
    GLint power = program.Location(ED3D8Uniform::MaterialPower);
    if (power >= 0)
        glUniform1f(power, state.material.Power);
}

} // namespace

UINT D3D8ActiveLights(const CD3D8State& state)
{
    UINT count = 0;
    for (const auto& entry : state.lights) {
        if (entry.second.enabled)
            ++count;
    }
    return std::min(count, kMostLights);
}

void D3D8LoadUniforms(CD3D8Program& program, const CD3D8State& state, const D3DCAPS8& caps, UINT targetWidth,
                      UINT targetHeight)
{
    if (Stale(program, state, kD3D8ChangeTransforms))
        LoadTransforms(program, state);
    if (Stale(program, state, kD3D8ChangeConstants))
        LoadConstants(program, state, caps, targetWidth, targetHeight);
    if (Stale(program, state, kD3D8ChangeFactor))
        Color(program.Location(ED3D8Uniform::TFactor), state.Render(D3DRS_TEXTUREFACTOR));
    if (Stale(program, state, kD3D8ChangeMaterial))
        LoadMaterial(program, state);
    if (Stale(program, state, kD3D8ChangeLights))
        LoadLights(program, state);
}
