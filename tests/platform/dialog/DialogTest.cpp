#include <vector>

#include "platform/dialog/Win32Dialog.h"
#include "tests/platform/PlatformTestHelpers.h"

namespace {

struct Choice {
    LPARAM renderer = -1;
    LPARAM audio = -1;
    int resolution = -1;
    bool fullscreen = false;
    bool askAgain = false;
    std::vector<UINT> messages;
};

Choice* g_choice = nullptr;

// A procedure in the manner of the platform dialog: fills the lists, reads them back on accept.
INT_PTR SelectProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_choice->messages.push_back(message);
    if (message == WM_INITDIALOG) {
        EXPECT_EQ(lParam, 0x1234);
        LRESULT gl = SendDlgItemMessageW(dialog, 1000, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"DirectX 8.1"));
        SendDlgItemMessageW(dialog, 1000, CB_SETITEMDATA, gl, 2);
        LRESULT dx = SendDlgItemMessageW(dialog, 1000, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"OpenGL 1.2"));
        SendDlgItemMessageW(dialog, 1000, CB_SETITEMDATA, dx, 4);
        SendDlgItemMessageW(dialog, 1000, CB_SETCURSEL, 0, 0);
        SendDlgItemMessageW(dialog, 1001, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"-Disabled-"));
        SendDlgItemMessageW(dialog, 1001, CB_SETITEMDATA, 0, 0);
        SendDlgItemMessageW(dialog, 1001, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"DirectX Audio 8.1"));
        SendDlgItemMessageW(dialog, 1001, CB_SETITEMDATA, 1, 2);
        SendDlgItemMessageW(dialog, 1001, CB_SETCURSEL, 1, 0);
        SendDlgItemMessageW(dialog, 1002, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"-Disabled-"));
        SendDlgItemMessageW(dialog, 1002, CB_SETCURSEL, 0, 0);
        EnableWindow(GetDlgItem(dialog, 1002), FALSE);
        SendDlgItemMessageW(dialog, 1027, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"10- 640 x 480 - [0,75] 1"));
        SendDlgItemMessageW(dialog, 1027, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"17- 1024 x 768 - [0,75] 0"));
        SendDlgItemMessageW(dialog, 1027, CB_SETCURSEL, 1, 0);
        CheckDlgButton(dialog, 1028, BST_CHECKED);
        CheckDlgButton(dialog, 1019, BST_CHECKED);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == 1) {
        LRESULT index = SendDlgItemMessageW(dialog, 1000, CB_GETCURSEL, 0, 0);
        g_choice->renderer = SendDlgItemMessageW(dialog, 1000, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
        index = SendDlgItemMessageW(dialog, 1001, CB_GETCURSEL, 0, 0);
        g_choice->audio = SendDlgItemMessageW(dialog, 1001, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
        g_choice->resolution = static_cast<int>(SendDlgItemMessageW(dialog, 1027, CB_GETCURSEL, 0, 0));
        g_choice->fullscreen = IsDlgButtonChecked(dialog, 1028) == BST_CHECKED;
        g_choice->askAgain = IsDlgButtonChecked(dialog, 1019) != BST_CHECKED;
        EndDialog(dialog, 1);
    } else if (message == WM_COMMAND && LOWORD(wParam) == 2) {
        EndDialog(dialog, 2);
    }
    return 0;
}

class DialogTest : public PlatformTest {
protected:
    void SetUp() override { g_choice = &m_choice; }
    void TearDown() override
    {
        g_choice = nullptr;
        PlatformTest::TearDown();
    }

    INT_PTR Run(const CDialogScript* script)
    {
        SetDialogScript(script);
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1002), nullptr, SelectProc, 0x1234);
    }

    Choice m_choice;
};

bool Contains(const std::vector<UINT>& messages, UINT message)
{
    for (UINT seen : messages) {
        if (seen == message)
            return true;
    }
    return false;
}

const CDialogScriptStep kChooseOpenGlWindowed[] = {
    {DialogStepKind::SelectText, 1000, 0, u"OpenGL 1.2"},
    {DialogStepKind::Select, 1001, 0, nullptr},
    {DialogStepKind::Select, 1027, 0, nullptr},
    {DialogStepKind::Check, 1028, 0, nullptr},
    {DialogStepKind::Click, 1, 0, nullptr},
};

} // namespace

TEST_F(DialogTest, TheSelectionDialogResourceHasItsTitleAndControls)
{
    const CDialogTemplate* dialog = FindDialogTemplate(1002);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(std::u16string(dialog->title), u"rIrodiVEV - Select platform :");
    int found = 0;
    for (size_t i = 0; i < dialog->controlCount; ++i) {
        const CDialogControlTemplate& control = dialog->controls[i];
        if (control.id == 1 && std::u16string(control.text) == u"SAVE AND LAUNCH" && control.kind == DialogControlKind::DefaultPushButton)
            ++found;
        if (control.id == 2 && std::u16string(control.text) == u"EXIT")
            ++found;
        if (control.id == 1019 && std::u16string(control.text) == u"Don't ask me again !" && control.disabled)
            ++found;
    }
    EXPECT_EQ(found, 3);
    EXPECT_EQ(dialog->controlCount, 11u);
}

TEST_F(DialogTest, ScriptPlaysTheUserAndTheProcedureReadsTheChoice)
{
    CDialogScript script{kChooseOpenGlWindowed, 5, nullptr, nullptr, nullptr, false};
    EXPECT_EQ(Run(&script), 1);
    EXPECT_EQ(m_choice.renderer, 4);
    EXPECT_EQ(m_choice.audio, 0);
    EXPECT_EQ(m_choice.resolution, 0);
    EXPECT_FALSE(m_choice.fullscreen);
    EXPECT_FALSE(m_choice.askAgain);
    EXPECT_TRUE(Contains(m_choice.messages, WM_DESTROY));
}

TEST_F(DialogTest, DisabledControlsRefuseTheScriptAndAClosedDialogIsCancelled)
{
    static bool checkedState = false;
    const CDialogScriptStep steps[] = {
        {DialogStepKind::Check, 1019, 0, nullptr},   // created disabled
        {DialogStepKind::Select, 1002, 0, nullptr},  // disabled by the procedure
        {DialogStepKind::Close, 0, 0, nullptr},
    };
    CDialogScript script{steps, 3, nullptr,
                         [](HWND dialog, void*) { checkedState = IsDlgButtonChecked(dialog, 1019) == BST_CHECKED; }, nullptr,
                         false};
    testing::internal::CaptureStderr();
    EXPECT_EQ(Run(&script), 2);
    std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("control 1019 is disabled"), std::string::npos);
    EXPECT_NE(printed.find("control 1002 is disabled"), std::string::npos);
    EXPECT_TRUE(checkedState);
    EXPECT_TRUE(Contains(m_choice.messages, WM_CLOSE));
}

TEST_F(DialogTest, HeadlessWithoutScriptPressesTheDefaultButton)
{
    SetHeadless(true);
    EXPECT_EQ(Run(nullptr), 1);
    EXPECT_EQ(m_choice.renderer, 2);
    EXPECT_EQ(m_choice.resolution, 1);
    EXPECT_TRUE(m_choice.fullscreen);
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(999), nullptr, SelectProc, 0), -1);
}

TEST_F(DialogTest, ListItemsCanBeReadBackBounded)
{
    static std::u16string text;
    CDialogScript script{nullptr, 0,
                         [](HWND dialog, void*) {
                             char16_t buffer[12];
                             EXPECT_EQ(GetComboItemText(dialog, 1027, 0, buffer, 12), 11);
                             text = buffer;
                             EXPECT_EQ(GetComboItemText(dialog, 1027, 5, buffer, 12), -1);
                             EXPECT_EQ(SendDlgItemMessageW(dialog, 1027, CB_GETLBTEXTLEN, 1, 0), 25);
                             EXPECT_EQ(SendDlgItemMessageW(dialog, 1027, CB_GETCOUNT, 0, 0), 2);
                             EXPECT_EQ(SendDlgItemMessageW(dialog, 1027, CB_SETCURSEL, 7, 0), CB_ERR);
                             EXPECT_EQ(SendDlgItemMessageW(dialog, 1027, CB_GETCURSEL, 0, 0), CB_ERR);
                             EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog, 1027)), 1027);
                         },
                         nullptr, nullptr, false};
    EXPECT_EQ(Run(&script), IDCANCEL);
    EXPECT_EQ(text, u"10- 640 x 4");
}

TEST_F(DialogTest, GtkDialogCarriesTheScriptThroughItsWidgets)
{
    if (!HasDisplay())
        GTEST_SKIP() << "needs an X display";
    SetHeadless(false);
    CDialogScript script{kChooseOpenGlWindowed, 5, nullptr, nullptr, nullptr, true};
    EXPECT_EQ(Run(&script), 1);
    EXPECT_EQ(m_choice.renderer, 4);
    EXPECT_EQ(m_choice.audio, 0);
    EXPECT_EQ(m_choice.resolution, 0);
    EXPECT_FALSE(m_choice.fullscreen);
}
