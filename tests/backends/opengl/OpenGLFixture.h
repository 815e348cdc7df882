#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "backends/opengl/EngineOpenGL.h"
#include "tests/support/OpenGLTestRig.h"

// An OpenGL engine on a 64 x 64 window, not loaded yet; skipped without a display.
class OpenGLRigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!OpenGLTestRig::HasDisplay())
            GTEST_SKIP() << "needs an X display";
        m_rig = std::make_unique<OpenGLTestRig>();
    }

    void TearDown() override { m_rig.reset(); }

    std::unique_ptr<OpenGLTestRig> m_rig;
};

// The same engine loaded.
class OpenGLFixture : public OpenGLRigTest {
protected:
    void SetUp() override
    {
        OpenGLRigTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(m_rig->Load(), RES_OK);
    }

    C3DEngineOpenGL* Engine() { return m_rig->Engine(); }
    CWorldData* Data() { return m_rig->Data(); }

    void ExpectPixel(int x, int y, uint32_t rgb)
    {
        const RgbPixel pixel = m_rig->ReadPixel(x, y);
        EXPECT_TRUE(NearlyEqual(pixel, static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                static_cast<uint8_t>(rgb)))
            << "pixel (" << x << ", " << y << ") is " << Describe(pixel);
    }
};
