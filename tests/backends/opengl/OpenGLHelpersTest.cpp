#include <gtest/gtest.h>

#include "backends/opengl/OpenGLHelpers.h"
#include "backends/opengl/TextureOpenGL.h"
#include "core/WorldData.h"
#include "engine3d/Camera.h"

TEST(OpenGLVersionTest, PointParametersNeedVersion14)
{
    EXPECT_FALSE(IsVersionAtLeast14("1.3.1"));
    EXPECT_FALSE(IsVersionAtLeast14("1.3"));
    EXPECT_TRUE(IsVersionAtLeast14("1.10"));  // numbers, not digits
    EXPECT_TRUE(IsVersionAtLeast14("1.4.0"));
    EXPECT_TRUE(IsVersionAtLeast14("2.1.2"));
    EXPECT_TRUE(IsVersionAtLeast14("1.4 Vendor Renderer"));
    EXPECT_TRUE(IsVersionAtLeast14("1.4"));
    EXPECT_TRUE(IsVersionAtLeast14("4.5 (Compatibility Profile) Mesa 22.3.6"));
    EXPECT_FALSE(IsVersionAtLeast14("OpenGL ES 3.2"));
    EXPECT_FALSE(IsVersionAtLeast14("2"));
    EXPECT_FALSE(IsVersionAtLeast14("2."));
    EXPECT_FALSE(IsVersionAtLeast14(""));
    EXPECT_FALSE(IsVersionAtLeast14(nullptr));
    int major = 0;
    int minor = 0;
    ASSERT_TRUE(ParseGLVersion("3.14.15", &major, &minor));
    EXPECT_EQ(major, 3);
    EXPECT_EQ(minor, 14);
}

TEST(OpenGLVersionTest, MultitextureIsASubstringTest)
{
    EXPECT_TRUE(ExtensionTextHas("GL_EXT_a GL_ARB_multitexture GL_EXT_b", "GL_ARB_multitexture"));
    EXPECT_TRUE(ExtensionTextHas("GL_ARB_multitextureX", "GL_ARB_multitexture"));
    EXPECT_FALSE(ExtensionTextHas("GL_ARB_multisample GL_EXT_texture", "GL_ARB_multitexture"));
    EXPECT_FALSE(ExtensionTextHas(nullptr, "GL_ARB_multitexture"));
}

TEST(OpenGLPaletteTest, EightBitRgbFormatGetsThe332Ramp)
{
    PIXELFORMATDESCRIPTOR format{};
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 8;
    format.cRedBits = 3;
    format.cRedShift = 0;
    format.cGreenBits = 3;
    format.cGreenShift = 3;
    format.cBlueBits = 2;
    format.cBlueShift = 6;
    const std::vector<PALETTEENTRY> palette = BuildLogicalPalette(format, {});
    ASSERT_EQ(palette.size(), 256u);
    EXPECT_EQ(palette[0].peRed, 0);
    EXPECT_EQ(palette[7].peRed, 255);
    EXPECT_EQ(palette[1].peRed, 36);  // 1 x 255 / 7
    EXPECT_EQ(palette[0x38].peGreen, 255);
    EXPECT_EQ(palette[0x40].peBlue, 85);  // 1 x 255 / 3
    EXPECT_EQ(palette[0xFF].peBlue, 255);
    EXPECT_EQ(palette[0xFF].peFlags, 0);

    format.cColorBits = 16;  // still at most 256 entries
    EXPECT_EQ(BuildLogicalPalette(format, {}).size(), 256u);
    format.cColorBits = 4;
    EXPECT_EQ(BuildLogicalPalette(format, {}).size(), 16u);
}

TEST(OpenGLPaletteTest, ColourIndexFormatKeepsSystemEntriesBehindFourFixedOnes)
{
    PIXELFORMATDESCRIPTOR format{};
    format.iPixelType = PFD_TYPE_COLORINDEX;
    format.cColorBits = 8;
    std::vector<PALETTEENTRY> system(256, PALETTEENTRY{9, 9, 9, 0});
    const std::vector<PALETTEENTRY> palette = BuildLogicalPalette(format, system);
    EXPECT_EQ(palette[1].peRed, 255);
    EXPECT_EQ(palette[1].peFlags, PC_NOCOLLAPSE);
    EXPECT_EQ(palette[3].peBlue, 255);
    EXPECT_EQ(palette[4].peRed, 9);
}

TEST(OpenGLTextureCopyTest, WholeScreenCopySizeIsRaisedToPowersOfTwo)
{
    CWorldData data{};
    data.workingWidth = 1000;
    data.workingHeight = 700;
    data.orientation = kOrientationNormal;
    C3DTextureOpenGL texture(&data, 0, 0);
    uint32_t w = 0;
    uint32_t h = 0;
    texture.CopySize(1, &w, &h);
    EXPECT_EQ(w, 1024u);
    EXPECT_EQ(h, 1024u);
    data.workingWidth = 512;
    data.workingHeight = 300;
    data.orientation = kOrientationQuarterLeft;
    texture.CopySize(1, &w, &h);
    EXPECT_EQ(w, 512u);  // 300 -> 512 and 512, exchanged
    EXPECT_EQ(h, 512u);
    data.workingHeight = 200;
    texture.CopySize(1, &w, &h);
    EXPECT_EQ(w, 256u);
    EXPECT_EQ(h, 512u);
}
