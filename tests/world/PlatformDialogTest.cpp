#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ModuleRegistrations.h"
#include "tests/support/platform/TestSwitches.h"
#include "platform/dialog/Win32Dialog.h"
#include "platform/win32/Win32Window.h"
#include "world/ModuleRegistry.h"
#include "world/PlatformDialog.h"
#include "world/World.h"

namespace {

struct ListView {
    std::vector<std::u16string> lines;
    std::vector<LRESULT> data;
    LRESULT selection = CB_ERR;
    bool enabled = true;
};

struct DialogView {
    ListView renderer, audio, input, network, resolution, depth;
    bool fullscreen = false;
    bool force = false;
    bool dontAsk = false;
    std::vector<bool> enabled;  // the controls of kLockedControls
    std::u16string acceptText;
};

const int kLockedControls[] = {kDialogDontAsk, kDialogInput,      kDialogAudio, kDialogNetwork,
                               kDialogRenderer, kDialogResolution, kDialogDepth, kDialogFullscreen};

ListView ReadList(HWND dialog, int id)
{
    ListView view;
    LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char16_t text[128];
        GetComboItemText(dialog, id, static_cast<int>(i), text, 128);
        view.lines.push_back(text);
        view.data.push_back(SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    }
    view.selection = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    view.enabled = IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
    return view;
}

DialogView* g_view = nullptr;

void ReadDialog(HWND dialog, void*)
{
    DialogView& view = *g_view;
    view.renderer = ReadList(dialog, kDialogRenderer);
    view.audio = ReadList(dialog, kDialogAudio);
    view.input = ReadList(dialog, kDialogInput);
    view.network = ReadList(dialog, kDialogNetwork);
    view.resolution = ReadList(dialog, kDialogResolution);
    view.depth = ReadList(dialog, kDialogDepth);
    view.fullscreen = IsDlgButtonChecked(dialog, kDialogFullscreen) == BST_CHECKED;
    view.force = IsDlgButtonChecked(dialog, kDialogForce) == BST_CHECKED;
    view.dontAsk = IsDlgButtonChecked(dialog, kDialogDontAsk) == BST_CHECKED;
    for (int id : kLockedControls)
        view.enabled.push_back(IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE);
    char16_t text[64];
    GetDlgItemTextW(dialog, kDialogAccept, text, 64);
    view.acceptText = text;
}

class PlatformDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_view = &m_view;
        ASSERT_EQ(RegisterModuleDX81(&m_world), RES_OK);
        ASSERT_EQ(RegisterModuleOpenGL(&m_world), RES_OK);
        ASSERT_EQ(RegisterModuleDirectSound(&m_world), RES_OK);
        ASSERT_EQ(RegisterModuleNetworkOS(&m_world), RES_OK);
        m_settings = CStartupSettings{};
        m_settings.module3D = 2;
        m_settings.moduleAudio = 2;
        m_settings.moduleNetwork = 1;
        m_settings.width = 1024;
        m_settings.height = 768;
        m_settings.colorDepth = 32;
        m_settings.fullscreen = 1;
        m_settings.orientation = 1;
    }
    void TearDown() override
    {
        g_view = nullptr;
        PlatformShutdown();
        ResetTestSwitches();
    }

    Result Run(const std::vector<CDialogScriptStep>& steps, CWorld* world)
    {
        m_script = CDialogScript{steps.data(), steps.size(), ReadDialog, nullptr, nullptr, false};
        SetDialogScript(&m_script);
        return SelectPlatform(&m_settings, nullptr, world);
    }

    CWorld m_world;
    CStartupSettings m_settings{};
    CDialogScript m_script{};
    DialogView m_view;
};

const CDialogScriptStep kAccept = {DialogStepKind::Click, kDialogAccept, 0, nullptr};

} // namespace

TEST(PlatformDialogLinesTest, EveryResolutionLine)
{
    const char16_t* expected[] = {
        u"01- 200 x 200 - [1,00] 2",   u"02- 320 x 200 - [0,62] 2",   u"03- 320 x 240 - [0,75] 2",
        u"04- 320 x 480 - [1,50] 1",   u"05- 480 x 272 - [0,56] 1",   u"06- 480 x 320 - [0,66] 1",
        u"07- 480 x 360 - [0,75] 1",   u"08- 512 x 512 - [1,00] 1",   u"09- 640 x 360 - [0,56] 1",
        u"10- 640 x 480 - [0,75] 1",   u"11- 760 x 570 - [0,75] 0",   u"12- 800 x 480 - [0,60] 1",
        u"13- 800 x 600 - [0,75] 0",   u"14- 845 x 480 - [0,56] 1",   u"15- 960 x 640 - [0,66] 0",
        u"16- 1024 x 600 - [0,58] 0",  u"17- 1024 x 768 - [0,75] 0",  u"18- 1280 x 1024 - [0,80] 0",
        u"19- 1440 x 900 - [0,62] 0",  u"20- 1600 x 1200 - [0,75] 0", u"21- 1920 x 1080 - [0,56] 0",
    };
    size_t count = 0;
    const CResolutionRow* rows = ResolutionRows(&count);
    ASSERT_EQ(count, 21u);
    for (size_t i = 0; i < count; ++i) {
        char16_t line[64];
        FormatResolutionLine(rows[i], line, 64);
        EXPECT_EQ(std::u16string(line), expected[i]) << i;
    }
}

TEST_F(PlatformDialogTest, TheListsOfferTheRegisteredModulesAndTheRecord)
{
    ASSERT_EQ(Run({kAccept}, &m_world), RES_OK);
    EXPECT_EQ(m_view.renderer.lines, (std::vector<std::u16string>{u"DirectX 8.1", u"OpenGL 1.2"}));
    EXPECT_EQ(m_view.renderer.data, (std::vector<LRESULT>{2, 4}));
    EXPECT_EQ(m_view.renderer.selection, 0);
    EXPECT_EQ(m_view.audio.lines, (std::vector<std::u16string>{u"-Disabled-", u"DirectX Audio 8.1"}));
    EXPECT_EQ(m_view.audio.data, (std::vector<LRESULT>{0, 2}));
    EXPECT_EQ(m_view.audio.selection, 1);
    EXPECT_EQ(m_view.input.lines, (std::vector<std::u16string>{u"-Disabled-"}));
    EXPECT_EQ(m_view.input.selection, 0);
    EXPECT_FALSE(m_view.input.enabled);
    EXPECT_EQ(m_view.network.lines, (std::vector<std::u16string>{u"-Disabled-", u"Default OS Network"}));
    EXPECT_EQ(m_view.network.selection, 1);
    EXPECT_TRUE(m_view.network.enabled);
    ASSERT_EQ(m_view.resolution.lines.size(), 21u);
    EXPECT_EQ(m_view.resolution.lines[9], u"10- 640 x 480 - [0,75] 1");
    EXPECT_EQ(m_view.resolution.data[20], 20);
    EXPECT_EQ(m_view.resolution.selection, 16);
    EXPECT_EQ(m_view.depth.lines, (std::vector<std::u16string>{u"16 bits", u"32 bits"}));
    EXPECT_EQ(m_view.depth.selection, 1);
    EXPECT_TRUE(m_view.fullscreen);
    EXPECT_FALSE(m_view.force);
    EXPECT_TRUE(m_view.dontAsk);
    EXPECT_EQ(m_view.acceptText, u"SAVE AND LAUNCH");

    EXPECT_EQ(m_settings.module3D, 2);
    EXPECT_EQ(m_settings.width, 1024);
    EXPECT_EQ(m_settings.ask, 0);
    EXPECT_EQ(m_settings.world, &m_world);
}

TEST_F(PlatformDialogTest, AcceptStoresThePlayersChoice)
{
    m_settings.ask = 1;
    std::vector<CDialogScriptStep> steps = {
        {DialogStepKind::SelectText, kDialogRenderer, 0, u"OpenGL 1.2"},
        {DialogStepKind::Select, kDialogAudio, 0, nullptr},
        {DialogStepKind::Select, kDialogResolution, 9, nullptr},
        {DialogStepKind::Select, kDialogDepth, 0, nullptr},
        {DialogStepKind::Check, kDialogFullscreen, 0, nullptr},
        {DialogStepKind::Check, kDialogForce, 1, nullptr},
        kAccept,
    };
    ASSERT_EQ(Run(steps, &m_world), RES_OK);
    EXPECT_FALSE(m_view.dontAsk);
    EXPECT_EQ(m_settings.module3D, 4);
    EXPECT_EQ(m_settings.moduleAudio, 0);
    EXPECT_EQ(m_settings.moduleInput, 0);
    EXPECT_EQ(m_settings.moduleNetwork, 1);
    EXPECT_EQ(m_settings.width, 640);
    EXPECT_EQ(m_settings.height, 480);
    EXPECT_EQ(m_settings.colorDepth, 16);
    EXPECT_EQ(m_settings.fullscreen, 0);
    EXPECT_EQ(m_settings.forceSettings, 1);
    EXPECT_EQ(m_settings.ask, 1);
    EXPECT_EQ(m_settings.orientation, 1u);
}

TEST_F(PlatformDialogTest, ExitOrClosingLeavesTheRecordUnchanged)
{
    std::vector<CDialogScriptStep> exitSteps = {{DialogStepKind::Select, kDialogResolution, 0, nullptr},
                                                {DialogStepKind::Click, kDialogExit, 0, nullptr}};
    EXPECT_EQ(Run(exitSteps, &m_world), RES_FAIL);
    EXPECT_EQ(m_settings.width, 1024);
    EXPECT_EQ(m_settings.world, nullptr);
    std::vector<CDialogScriptStep> closeSteps = {{DialogStepKind::Check, kDialogFullscreen, 0, nullptr},
                                                 {DialogStepKind::Close, 0, 0, nullptr}};
    EXPECT_EQ(Run(closeSteps, &m_world), RES_FAIL);
    EXPECT_EQ(m_settings.fullscreen, 1);
}

TEST_F(PlatformDialogTest, NothingSelectedKeepsTheRecordsValues)
{
    m_settings.width = 1000;
    m_settings.height = 700;
    m_settings.colorDepth = 24;
    m_settings.module3D = 42;
    ASSERT_EQ(Run({kAccept}, &m_world), RES_OK);
    EXPECT_EQ(m_view.resolution.selection, CB_ERR);
    EXPECT_EQ(m_view.depth.selection, CB_ERR);
    EXPECT_EQ(m_view.renderer.selection, CB_ERR);
    EXPECT_EQ(m_settings.width, 1000);
    EXPECT_EQ(m_settings.height, 700);
    EXPECT_EQ(m_settings.colorDepth, 24);
    EXPECT_EQ(m_settings.module3D, 42);
}

TEST_F(PlatformDialogTest, EachLockBitDisablesItsControl)
{
    const uint32_t bits[] = {kLockDontAsk, kLockInput, kLockAudio, kLockNetwork,
                             kLockRenderer, kLockResolution, kLockDepth, kLockFullscreen};
    for (size_t i = 0; i < 8; ++i) {
        m_view = DialogView();
        m_settings.lockMask = bits[i];
        ASSERT_EQ(Run({}, &m_world), RES_FAIL);
        ASSERT_EQ(m_view.enabled.size(), 8u);
        for (size_t j = 0; j < 8; ++j) {
            bool alwaysOff = j == 0 || j == 1;  // created disabled; only "-Disabled-" to choose
            EXPECT_EQ(m_view.enabled[j], !(i == j || alwaysOff)) << "bit " << bits[i] << " control " << j;
        }
        EXPECT_EQ(m_view.acceptText, u"SAVE AND LAUNCH");
    }
    m_view = DialogView();
    m_settings.lockMask = kLockRenameAccept | kLockResolution;
    std::vector<CDialogScriptStep> steps = {{DialogStepKind::Select, kDialogResolution, 0, nullptr}, kAccept};
    testing::internal::CaptureStderr();
    ASSERT_EQ(Run(steps, &m_world), RES_OK);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(m_view.acceptText, u"SAVE AND EXIT");
    EXPECT_EQ(m_settings.width, 1024);
}

TEST_F(PlatformDialogTest, WithoutAWorldEveryRowIsOfferedByIndex)
{
    m_settings.moduleInput = 1;
    std::vector<CDialogScriptStep> steps = {{DialogStepKind::Select, kDialogAudio, 3, nullptr},
                                            {DialogStepKind::SelectText, kDialogRenderer, 0, u"PSP GU"},
                                            kAccept};
    ASSERT_EQ(Run(steps, nullptr), RES_OK);
    ASSERT_EQ(m_view.renderer.lines.size(), 10u);
    EXPECT_EQ(m_view.renderer.lines[9], u"Flash AS3");
    EXPECT_EQ(m_view.renderer.selection, 2);
    EXPECT_EQ(m_view.audio.lines.size(), 5u);
    EXPECT_EQ(m_view.audio.lines[0], u"-Disabled-");
    EXPECT_EQ(m_view.input.selection, 1);
    EXPECT_TRUE(m_view.input.enabled);
    EXPECT_EQ(m_view.network.lines.size(), 2u);
    EXPECT_EQ(m_settings.moduleAudio, 3);
    EXPECT_EQ(m_settings.module3D, 8);
    EXPECT_EQ(m_settings.moduleInput, 1);
    EXPECT_EQ(m_settings.world, nullptr);
}
