#include <cstdio>

#include "base/WideString.h"
#include "platform/dialog/DialogDriver.h"
#include "platform/dialog/DialogRun.h"
#include "platform/dialog/DialogView.h"
#include "platform/win32/SdlVideo.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowRegistry.h"

namespace {

CWindow* ControlWindow(HWND control)
{
    CWindow* window = CWindowRegistry::Get().Find(control);
    return (window && window->kind == WindowKind::Control && window->control) ? window : nullptr;
}

void NotifyParent(const CWindow& control, WORD code)
{
    SendMessageW(control.parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control.controlId), code),
                 reinterpret_cast<LPARAM>(control.handle));
}

LRESULT ComboMessage(CWindow& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CControlState& state = *window.control;
    int count = static_cast<int>(state.items.size());
    int index = static_cast<int>(static_cast<intptr_t>(wParam));
    bool valid = index >= 0 && index < count;
    switch (message) {
    case CB_ADDSTRING:
        state.items.push_back(CComboItem{lParam ? reinterpret_cast<const char16_t*>(lParam) : u"", 0});
        NotifyDialogView(window);
        return count;
    case CB_RESETCONTENT:
        state.items.clear();
        state.selection = -1;
        NotifyDialogView(window);
        return 0;
    case CB_GETCOUNT:
        return count;
    case CB_GETCURSEL:
        return state.selection;
    case CB_SETCURSEL:
        state.selection = valid ? index : -1;
        NotifyDialogView(window);
        return valid ? index : CB_ERR;
    case CB_GETITEMDATA:
        return valid ? state.items[index].data : CB_ERR;
    case CB_SETITEMDATA:
        if (!valid)
            return CB_ERR;
        state.items[index].data = lParam;
        return 0;
    case CB_GETLBTEXTLEN:
        return valid ? static_cast<LRESULT>(state.items[index].text.size()) : CB_ERR;
    default:
        return 0;
    }
}

LRESULT ButtonMessage(CWindow& window, UINT message, WPARAM wParam)
{
    CControlState& state = *window.control;
    switch (message) {
    case BM_GETCHECK:
        return state.checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        state.checked = wParam == BST_CHECKED;
        NotifyDialogView(window);
        return 0;
    case BM_CLICK:
        UserClick(window.handle);
        return 0;
    default:
        return 0;
    }
}

LRESULT ControlProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindow* window = ControlWindow(handle);
    if (!window)
        return 0;
    if (window->control->kind == ControlKind::DropDownList)
        return ComboMessage(*window, message, wParam, lParam);
    return ButtonMessage(*window, message, wParam);
}

LRESULT DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialogRun* run = DialogRunOf(dialog);
    if (!run || !run->procedure)
        return 0;
    return run->procedure(dialog, message, wParam, lParam);
}

ControlKind KindOf(DialogControlKind kind)
{
    switch (kind) {
    case DialogControlKind::DefaultPushButton: return ControlKind::DefaultPushButton;
    case DialogControlKind::PushCheckBox: return ControlKind::PushCheckBox;
    case DialogControlKind::DropDownList: return ControlKind::DropDownList;
    default: return ControlKind::PushButton;
    }
}

HWND BuildDialog(const CDialogTemplate& dialogTemplate, HWND owner, CDialogRun& run)
{
    CWindowRegistry& registry = CWindowRegistry::Get();
    CWindow* dialog = registry.Add(WindowKind::Dialog);
    dialog->text = dialogTemplate.title ? dialogTemplate.title : u"";
    dialog->procedure = DialogProcedure;
    dialog->parent = owner;
    dialog->dialog = &run;
    HWND handle = dialog->handle;
    for (size_t i = 0; i < dialogTemplate.controlCount; ++i) {
        const CDialogControlTemplate& item = dialogTemplate.controls[i];
        CWindow* control = registry.Add(WindowKind::Control);
        control->parent = handle;
        control->controlId = item.id;
        control->text = item.text ? item.text : u"";
        control->enabled = !item.disabled;
        control->procedure = ControlProcedure;
        control->control = std::make_unique<CControlState>();
        control->control->kind = KindOf(item.kind);
    }
    return handle;
}

HWND DefaultButton(HWND dialog)
{
    for (HWND control : DialogControls(dialog)) {
        CWindow* window = ControlWindow(control);
        if (window->control->kind == ControlKind::DefaultPushButton)
            return control;
    }
    return nullptr;
}

// The user's hand on the dialog's own controls, for a driver acting without a front end.
class CControlHand final : public CDialogHand {
public:
    CControlHand(HWND dialog, const CDialogRun& run) : m_dialog(dialog), m_run(run) {}

    bool IsEnabled(HWND control) override
    {
        const CWindow* window = ControlWindow(control);
        return window && window->enabled;
    }
    bool Select(HWND control, int index) override { return UserSelect(control, index); }
    bool Check(HWND control, bool checked) override { return UserCheck(control, checked); }
    bool Click(HWND control) override { return UserClick(control); }
    void Close() override { UserClose(m_dialog); }
    bool HasEnded() override { return m_run.ended; }

private:
    HWND m_dialog;
    const CDialogRun& m_run;
};

} // namespace

CDialogRun* DialogRunOf(HWND dialog)
{
    CWindow* window = CWindowRegistry::Get().Find(dialog);
    return (window && window->kind == WindowKind::Dialog) ? window->dialog : nullptr;
}

std::vector<HWND> DialogControls(HWND dialog)
{
    std::vector<HWND> controls;
    CWindowRegistry& registry = CWindowRegistry::Get();
    for (HWND handle : registry.Handles()) {
        CWindow* window = registry.Find(handle);
        if (window->kind == WindowKind::Control && window->parent == dialog)
            controls.push_back(handle);
    }
    return controls;
}

void NotifyDialogView(const CWindow& window)
{
    HWND dialog = window.kind == WindowKind::Control ? window.parent : window.handle;
    CDialogRun* run = DialogRunOf(dialog);
    if (run && run->view && window.kind == WindowKind::Control)
        run->view->ControlChanged(window.handle);
}

bool UserSelect(HWND control, int index)
{
    CWindow* window = ControlWindow(control);
    if (!window || !window->enabled || window->control->kind != ControlKind::DropDownList)
        return false;
    if (index < 0 || index >= static_cast<int>(window->control->items.size()))
        return false;
    window->control->selection = index;
    NotifyDialogView(*window);
    NotifyParent(*window, CBN_SELCHANGE);
    return true;
}

bool UserCheck(HWND control, bool checked)
{
    CWindow* window = ControlWindow(control);
    if (!window || !window->enabled || window->control->kind != ControlKind::PushCheckBox)
        return false;
    if (window->control->checked != checked)
        UserClick(control);
    return true;
}

bool UserClick(HWND control)
{
    CWindow* window = ControlWindow(control);
    if (!window || !window->enabled || window->control->kind == ControlKind::DropDownList)
        return false;
    if (window->control->kind == ControlKind::PushCheckBox) {
        window->control->checked = !window->control->checked;
        NotifyDialogView(*window);
    }
    NotifyParent(*window, BN_CLICKED);
    return true;
}

void UserClose(HWND dialog)
{
    CDialogRun* run = DialogRunOf(dialog);
    if (!run || run->ended)
        return;
    if (!SendMessageW(dialog, WM_CLOSE, 0, 0) && !run->ended)
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!run->ended) {
        run->ended = true;
        run->result = IDCANCEL;
    }
}

INT_PTR DialogBoxParamW(HINSTANCE, const char16_t* templateName, HWND owner, DLGPROC procedure, LPARAM initParam)
{
    const CDialogTemplate* dialogTemplate =
        IS_INTRESOURCE(templateName) ? FindDialogTemplate(static_cast<uint16_t>(reinterpret_cast<uintptr_t>(templateName))) : nullptr;
    if (!dialogTemplate || !procedure) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    CDialogRun run;
    run.procedure = procedure;
    run.dialogTemplate = dialogTemplate;
    HWND dialog = BuildDialog(*dialogTemplate, owner, run);
    std::vector<HWND> controls = DialogControls(dialog);
    SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(controls.empty() ? nullptr : controls.front()), initParam);

    CDialogDriver* driver = GetDialogDriver();
    if (driver)
        driver->Ready(dialog);
    bool desktop = !IsHeadless() && HasDisplayEnvironment();
    bool shown = false;
    if (!run.ended && desktop && (!driver || driver->ThroughView()))
        shown = RunGtkDialog(dialog, driver);
    if (!run.ended && !shown) {
        if (driver) {
            CControlHand hand(dialog, run);
            driver->Drive(dialog, hand);
        } else if (HWND button = DefaultButton(dialog)) {
            UserClick(button);
        }
    }
    if (!run.ended)
        UserClose(dialog);
    if (driver)
        driver->Ended(dialog);

    INT_PTR result = run.result;
    DestroyWindow(dialog);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    CDialogRun* run = DialogRunOf(dialog);
    if (!run) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    run->ended = true;
    run->result = result;
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id)
{
    for (HWND control : DialogControls(dialog)) {
        if (CWindowRegistry::Get().Find(control)->controlId == id)
            return control;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND control)
{
    CWindow* window = ControlWindow(control);
    return window ? window->controlId : 0;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = GetDlgItem(dialog, id);
    return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, const char16_t* text)
{
    HWND control = GetDlgItem(dialog, id);
    return control ? SetWindowTextW(control, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, char16_t* buffer, int capacity)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control) {
        if (buffer && capacity > 0)
            buffer[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(control, buffer, capacity));
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return FALSE;
    SendMessageW(control, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    return static_cast<UINT>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}

int GetComboItemText(HWND dialog, int id, int index, char16_t* buffer, int capacity)
{
    CWindow* window = ControlWindow(GetDlgItem(dialog, id));
    if (!window || !buffer || capacity <= 0 || index < 0 || index >= static_cast<int>(window->control->items.size()))
        return -1;
    return static_cast<int>(WStrCopy(buffer, static_cast<size_t>(capacity), WStringView(window->control->items[index].text)));
}
