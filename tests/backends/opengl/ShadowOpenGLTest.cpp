#include <GL/glew.h>

#include <utility>
#include <vector>

#include "backends/opengl/StencilShadowOpenGL.h"
#include "tests/backends/opengl/OpenGLFixture.h"
#include "tests/support/ShadowSceneTests.h"

class ShadowOpenGLTest : public ShadowSceneFixture<OpenGLFixture, C3DStencilShadowOpenGL> {
protected:
    // The shadow's alpha byte sets how much of the shadowed pixels stays.
    static uint32_t ShadowColour(uint8_t level) { return static_cast<uint32_t>(level) << 24; }
    static std::vector<std::pair<uint32_t, uint32_t>> StrengthCases()
    {
        return {{0xFF000000, 0xFFFFFF}, {0x00000000, 0x000000}, {0xC0FFFFFF, 0xC0C0C0}};
    }

    void WatchDevice()
    {
        glClearStencil(7);
        glClear(GL_STENCIL_BUFFER_BIT);
        glClearStencil(0);
    }
    void ExpectUntouched() { EXPECT_EQ(StencilAt(kShadowX, kShadowY), 7u); }
    void ExpectSolidFill()
    {
        GLint modes[2] = {};
        glGetIntegerv(GL_POLYGON_MODE, modes);
        EXPECT_EQ(modes[0], GL_FILL);
    }

    uint8_t StencilAt(int x, int y)
    {
        uint8_t value = 0;
        glReadPixels(x, Data()->configuredHeight - 1 - y, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, &value);
        return value;
    }

    // Pixels of the frame whose three channels are all at least `level`.
    int CountAtLeast(uint8_t level)
    {
        std::vector<uint8_t> rgba(64 * 64 * 4);
        glReadPixels(0, 0, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        int count = 0;
        for (size_t i = 0; i < rgba.size(); i += 4)
            count += (rgba[i] >= level && rgba[i + 1] >= level && rgba[i + 2] >= level) ? 1 : 0;
        return count;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(OpenGL, ShadowSceneTest, ::testing::Types<ShadowOpenGLTest>);

TEST_F(ShadowOpenGLTest, TheVolumesMarkTheStencilAndTheStatesArePutBack)
{
    C3DStencilShadow* shadow = Shadow(0x80000000, {UpperRightTriangle()});
    DrawReceiver();
    ASSERT_EQ(shadow->Render(0), RES_OK);
    EXPECT_EQ(StencilAt(kShadowX, kShadowY), 1u);
    EXPECT_EQ(StencilAt(kClearX, kClearY), 0u);
    EXPECT_EQ(StencilAt(kNearEndX, kNearEndY), 0u);

    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLboolean colourWrites[4] = {};
    glGetBooleanv(GL_COLOR_WRITEMASK, colourWrites);
    EXPECT_TRUE(colourWrites[0] && colourWrites[1] && colourWrites[2] && colourWrites[3]);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Each draw counts from a cleared stencil buffer: a second caster does not darken the first
// one's shadow again.
TEST_F(ShadowOpenGLTest, EachDrawStartsFromAClearedStencil)
{
    C3DStencilShadow* shadow = Shadow(0x80000000, {UpperRightTriangle(), LowerLeftTriangle()});
    DrawReceiver();
    ASSERT_EQ(shadow->Render(0), RES_OK);
    ASSERT_EQ(shadow->Render(1), RES_OK);
    ExpectPixel(kShadowX, kShadowY, 0x808080);
    ExpectPixel(63 - kShadowX, 63 - kShadowY, 0x808080);
    ExpectPixel(kShadowX, 63 - kShadowY, 0xFFFFFF);
    EXPECT_EQ(StencilAt(kShadowX, kShadowY), 0u);
}

// The darkening reaches every pixel of the window, even when the configured screen is smaller
// than the one the screen projection was set up for.
TEST_F(ShadowOpenGLTest, DarkeningCoversTheWholeWindow)
{
    C3DStencilShadow* shadow = Shadow(0x00000000, {UpperRightTriangle()});
    DrawReceiver();
    Data()->configuredWidth = 16;
    Data()->configuredHeight = 16;
    ASSERT_EQ(shadow->Render(0), RES_OK);
    Data()->configuredWidth = 64;
    Data()->configuredHeight = 64;
    ExpectPixel(kShadowX, kShadowY, 0x000000);
    ExpectPixel(kClearX, kClearY, 0xFFFFFF);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);  // the caller's viewport is back
}
