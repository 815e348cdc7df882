#pragma once
#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <utility>

#include "base/WideString.h"
#include "core/BuiltinSettings.h"
#include "core/ParamsReader.h"
#include "platform/win32/Win32Window.h"
#include "tests/support/RendererTestRig.h"
#include "world/World.h"

// A shown 320 x 240 window of a class of its own; the platform is shut down when it goes.
class WorldFramesWindow {
public:
    explicit WorldFramesWindow(const std::string& name)
        : m_className(Utf8ToUtf16(name + "-" + std::to_string(getpid())))
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.lpszClassName = m_className.c_str();
        RegisterClassW(&windowClass);
        m_window = CreateWindowExW(0, m_className.c_str(), u"World", 0x06CA0000, 0, 0, 320, 240, GetDesktopWindow(),
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(m_window, SW_SHOW);
    }
    ~WorldFramesWindow()
    {
        DestroyWindow(m_window);
        UnregisterClassW(m_className.c_str(), GetModuleHandleW(nullptr));
        PlatformShutdown();
    }
    WorldFramesWindow(const WorldFramesWindow&) = delete;
    WorldFramesWindow& operator=(const WorldFramesWindow&) = delete;

    HWND Handle() const { return m_window; }

private:
    std::u16string m_className;
    HWND m_window = nullptr;
};

// The world-frame test every renderer passes, written once. TRenderer tells of the renderer:
//   static void Choose(CWorld& world)                - makes it the world's chosen 3D module;
//   static bool IsRenderer(C3DEngine* engine)        - the world's engine is of its class;
//   static void ExpectPresented(CWorld&, frames)     - the device shows that many presents;
//   static std::pair<int, int> Viewport(CWorld&)     - the viewport's width and height;
//   static RgbPixel CentrePixel(CWorld&)             - the back buffer's centre after the frames.
template <typename TRenderer>
class WorldFramesTest : public ::testing::Test {};

TYPED_TEST_SUITE_P(WorldFramesTest);

// The world base with the renderer chosen, on the built-in engine settings, as start-up runs it.
TYPED_TEST_P(WorldFramesTest, TheWorldRunsFramesAtTheConfiguredSizeInTheClearColour)
{
    if (!RendererTestRig::HasDisplay())
        GTEST_SKIP() << "needs an X display";
    WorldFramesWindow window("WorldFrames");
    ASSERT_NE(window.Handle(), nullptr);
    CParamsText settings(kEngineSettingsText, kEngineSettingsLength);
    CWorld world;
    ASSERT_EQ(world.SetParameters(&settings, nullptr, nullptr, nullptr, 0, nullptr, nullptr), RES_OK);
    ASSERT_NO_FATAL_FAILURE(TypeParam::Choose(world));
    ASSERT_EQ(world.Load(window.Handle(), 320, 240, 32, 0, 0, 0, 1, u"Data_full_Win32\\", 0, 0), RES_OK);
    ASSERT_TRUE(TypeParam::IsRenderer(world.Get3DEngine()));
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(world.OnFrame(), RES_OK);

    TypeParam::ExpectPresented(world, 3);
    EXPECT_EQ(TypeParam::Viewport(world), std::make_pair(320, 240));
    const uint32_t clear = world.GetData()->clearColor;
    EXPECT_EQ(clear & 0xFFFFFFu, 0x969696u);  // the built-in grey 150
    const RgbPixel pixel = TypeParam::CentrePixel(world);
    EXPECT_TRUE(NearlyEqual(pixel, static_cast<uint8_t>(clear >> 16), static_cast<uint8_t>(clear >> 8),
                            static_cast<uint8_t>(clear)))
        << Describe(pixel);

    EXPECT_EQ(world.Release(), RES_OK);
    EXPECT_EQ(world.Get3DEngine(), nullptr);
}

REGISTER_TYPED_TEST_SUITE_P(WorldFramesTest, TheWorldRunsFramesAtTheConfiguredSizeInTheClearColour);
