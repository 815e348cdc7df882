#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "base/Result.h"
#include "tests/support/RendererTestRig.h"

// An engine of the rig TRig on a 64 x 64 window, not loaded; skipped without a display.
template <typename TRig>
class RendererFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!RendererTestRig::HasDisplay())
            GTEST_SKIP() << "needs an X display";
        m_rig = std::make_unique<TRig>();
    }

    void TearDown() override { m_rig.reset(); }

    auto* Engine() { return m_rig->Engine(); }
    CWorldData* Data() { return m_rig->Data(); }

    void ExpectPixel(int x, int y, uint32_t rgb)
    {
        const RgbPixel pixel = m_rig->ReadPixel(x, y);
        EXPECT_TRUE(NearlyEqual(pixel, static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                static_cast<uint8_t>(rgb)))
            << "pixel (" << x << ", " << y << ") is " << Describe(pixel);
    }

    std::unique_ptr<TRig> m_rig;
};

// The same, loaded.
template <typename TFixture>
class LoadedFixture : public TFixture {
protected:
    void SetUp() override
    {
        TFixture::SetUp();
        if (this->IsSkipped())
            return;
        ASSERT_EQ(this->m_rig->Load(), RES_OK);
    }
};
