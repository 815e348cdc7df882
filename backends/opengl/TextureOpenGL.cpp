#include "backends/opengl/TextureOpenGL.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <utility>

#include "backends/opengl/OpenGLHelpers.h"
#include "backends/opengl/OpenGLState.h"
#include "core/WorldData.h"
#include "engine3d/Camera.h"
#include "engine3d/ObjectTypes.h"

namespace {

// Eye planes of the projected-texture mode, for S, T, R and Q.
constexpr GLfloat kEyePlanes[4][4] = {
    {-0.97831f, -0.467837f, -0.728797f, 1603.12207f},
    {-0.923405f, -0.041892f, 0.923405f, 1603.12207f},
    {-0.249518f, -0.935693f, 0.249518f, 3205.30835f},
    {-0.249513f, -0.935674f, 0.249513f, 3206.244141f},
};
constexpr GLenum kGenCoords[4] = {GL_S, GL_T, GL_R, GL_Q};
constexpr GLenum kGenSwitches[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};

struct UploadFormat {
    GLenum format;
    GLint internalFormat;
    uint32_t bytesPerPixel;
};

bool FormatOfBits(uint8_t bits, uint32_t sampling, UploadFormat* out)
{
    switch (bits) {
    case 8:
        *out = (sampling & kSampleAlpha) ? UploadFormat{GL_ALPHA, GL_ALPHA8, 1} : UploadFormat{GL_LUMINANCE, 1, 1};
        return true;
    case 16: *out = UploadFormat{GL_LUMINANCE_ALPHA, 2, 2}; return true;
    case 24: *out = UploadFormat{GL_RGB, 3, 3}; return true;
    case 32: *out = UploadFormat{GL_RGBA, 4, 4}; return true;
    default: return false;
    }
}

GLint MinFilter(uint32_t sampling)
{
    if (sampling & kSampleNearestMin)
        return GL_NEAREST;
    if (!(sampling & kSampleNoMipmaps) && (sampling & kSampleTrilinear))
        return (sampling & kSampleProjected) ? GL_LINEAR : GL_LINEAR_MIPMAP_LINEAR;
    return GL_LINEAR;
}

void ModulateEnvironment()
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
}

} // namespace

C3DTextureOpenGL::~C3DTextureOpenGL()
{
    DeleteName();
}

void C3DTextureOpenGL::DeleteName()
{
    if (m_textureName != 0) {
        const GLuint name = m_textureName;
        glDeleteTextures(1, &name);
        m_textureName = 0;
    }
}

Result C3DTextureOpenGL::Release()
{
    const Result result = C3DTexture::Release();
    DeleteName();
    return result;
}

Result C3DTextureOpenGL::Create(uint16_t width, uint16_t height, uint8_t bits, const uint8_t* pixels,
                                const char16_t* name)
{
    UploadFormat upload{};
    if (!FormatOfBits(bits, m_parameter, &upload) || !pixels || width == 0 || height == 0)
        return RES_FAIL;
    DeleteName();
    m_bits = bits;
    m_width = width;
    m_height = height;
    GLuint texture = 0;
    glGenTextures(1, &texture);
    if (texture == 0)
        return RES_FAIL;
    m_textureName = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, (m_flags & kTextureRepeatU) ? GL_REPEAT : GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, (m_flags & kTextureRepeatV) ? GL_REPEAT : GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, MinFilter(m_parameter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, (m_parameter & kSampleNearestMag) ? GL_NEAREST : GL_LINEAR);

    // Rows are packed without padding.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    const bool packedRows = (uint32_t{width} * upload.bytesPerPixel) % 4 != 0;
    if (packedRows)
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLint built = gluBuild2DMipmaps(GL_TEXTURE_2D, upload.internalFormat, width, height, upload.format,
                                          GL_UNSIGNED_BYTE, pixels);
    if (packedRows)
        glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (built != 0) {
        IgnoreResult(Release());
        return RES_FAIL;
    }
    return C3DTexture::Create(width, height, bits, pixels, name);
}

void C3DTextureOpenGL::Apply(uint32_t objectFlags, uint32_t stage)
{
    const bool blend = m_pWorldData->alphaBlending[0] && (objectFlags & kObjectAlphaBlend) && (m_parameter & kSampleAlpha);
    if (blend) {
        glEnable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
    } else {
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
    }
    glBlendFunc(GL_SRC_ALPHA, (m_parameter & kSampleAdditive) ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    if (HasMultitexture(m_pWorldData))
        glActiveTextureARB(GL_TEXTURE0_ARB + stage);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_textureName);
    for (GLenum gen : kGenSwitches)
        glDisable(gen);
    ApplyEnvironment();
    if (m_parameter & kSampleProjected)
        ApplyProjectedCoordinates();
}

void C3DTextureOpenGL::ApplyEnvironment()
{
    if (m_parameter & kSampleReplace) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    } else if (m_parameter & kSampleInterpolate) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_INTERPOLATE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_PREVIOUS);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB, GL_PRIMARY_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB, GL_SRC_COLOR);
    } else if (!(m_parameter & kSampleProjected)) {
        ModulateEnvironment();
    }
}

// Eye-linear coordinates for all four components, the planes given under the first light's
// look-at matrix. The caller's current matrix is kept.
void C3DTextureOpenGL::ApplyProjectedCoordinates()
{
    const CWorldData* d = m_pWorldData;
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(d->lights[0].position[0], d->lights[0].position[1], d->lights[0].position[2], 0.0, 0.0, 0.0, 0.0,
              1.0, 0.0);
    ModulateEnvironment();
    for (int i = 0; i < 4; ++i) {
        glTexGeni(kGenCoords[i], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
        glTexGenfv(kGenCoords[i], GL_EYE_PLANE, kEyePlanes[i]);
        glEnable(kGenSwitches[i]);
    }
    glPopMatrix();
}

void C3DTextureOpenGL::Bind(uint32_t)
{
    glBindTexture(GL_TEXTURE_2D, m_textureName);
}

Result C3DTextureOpenGL::CopyFrom(uint8_t subImage, uint8_t wholeScreen, uint8_t luminance, int32_t level)
{
    return CopyFramebuffer(subImage, wholeScreen, luminance, level);
}

void C3DTextureOpenGL::CopySize(uint8_t wholeScreen, uint32_t* width, uint32_t* height) const
{
    const CWorldData* d = m_pWorldData;
    uint32_t w = RaiseToPowerOfTwo(wholeScreen ? d->workingWidth : m_width);
    uint32_t h = RaiseToPowerOfTwo(wholeScreen ? d->workingHeight : m_height);
    if (d->orientation == kOrientationQuarterRight || d->orientation == kOrientationQuarterLeft)
        std::swap(w, h);
    *width = w;
    *height = h;
}

Result C3DTextureOpenGL::CopyFramebuffer(uint8_t subImage, uint8_t wholeScreen, uint8_t luminance, int32_t level)
{
    if (m_textureName == 0)
        return RES_FAIL;
    glEnable(GL_TEXTURE_2D);
    Bind(static_cast<uint32_t>(level));
    uint32_t w = 0;
    uint32_t h = 0;
    CopySize(wholeScreen, &w, &h);
    if (subImage)
        glCopyTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, 0, 0, static_cast<GLsizei>(w), static_cast<GLsizei>(h));
    else
        glCopyTexImage2D(GL_TEXTURE_2D, level, luminance ? GL_LUMINANCE : GL_RGB, 0, 0, static_cast<GLsizei>(w),
                         static_cast<GLsizei>(h), 0);
    return RES_OK;
}
