#include "world/PlatformDialog.h"

#include "world/ModuleRegistry.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "world/World.h"
#include "core/WorldData.h"
#include "platform/dialog/Win32Dialog.h"
#include "platform/win32/Win32Window.h"

namespace {

constexpr CResolutionRow kResolutions[] = {
    {0, 200, 200, u"200 x 200"},     {1, 320, 200, u"320 x 200"},    {2, 320, 240, u"320 x 240"},
    {3, 320, 480, u"320 x 480"},     {4, 480, 272, u"480 x 272"},    {5, 480, 320, u"480 x 320"},
    {6, 480, 360, u"480 x 360"},     {7, 512, 512, u"512 x 512"},    {8, 640, 360, u"640 x 360"},
    {9, 640, 480, u"640 x 480"},     {10, 760, 570, u"760 x 570"},   {11, 800, 480, u"800 x 480"},
    {12, 800, 600, u"800 x 600"},    {13, 845, 480, u"845 x 480"},   {14, 960, 640, u"960 x 640"},
    {15, 1024, 600, u"1024 x 600"},  {16, 1024, 768, u"1024 x 768"}, {17, 1280, 1024, u"1280 x 1024"},
    {18, 1440, 900, u"1440 x 900"},  {19, 1600, 1200, u"1600 x 1200"}, {20, 1920, 1080, u"1920 x 1080"},
};
constexpr size_t kResolutionCount = sizeof(kResolutions) / sizeof(kResolutions[0]);

struct CColorDepthRow {
    uint16_t id;
    uint8_t bits;
    const char16_t* label;
};

constexpr CColorDepthRow kDepths[] = {{0, 16, u"16 bits"}, {1, 32, u"32 bits"}};
constexpr size_t kDepthCount = sizeof(kDepths) / sizeof(kDepths[0]);

constexpr size_t kLineUnits = 64;
constexpr uint32_t kShiftTarget = 1024;

// The dialog's state and world, for the dialog's life.
CStartupSettings* g_state = nullptr;
CWorld* g_world = nullptr;

struct CLockedControl {
    uint32_t bit;
    int control;
};

constexpr CLockedControl kLocks[] = {
    {kLockDontAsk, kDialogDontAsk},   {kLockInput, kDialogInput},   {kLockAudio, kDialogAudio},
    {kLockNetwork, kDialogNetwork},   {kLockRenderer, kDialogRenderer}, {kLockResolution, kDialogResolution},
    {kLockDepth, kDialogDepth},       {kLockFullscreen, kDialogFullscreen},
};

uint32_t RoundUpPow2(uint32_t value)
{
    uint32_t result = 1;
    while (result < value)
        result <<= 1;
    return result;
}

uint32_t ShiftTo1024(uint32_t size)
{
    uint32_t value = RoundUpPow2(size);
    uint32_t shift = 0;
    while ((value << shift) < kShiftTarget)
        ++shift;
    return shift;
}

LRESULT AddItem(HWND dialog, int control, const char16_t* text, LPARAM data)
{
    LRESULT index = SendDlgItemMessageW(dialog, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index >= 0)
        SendDlgItemMessageW(dialog, control, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
    return index;
}

void Select(HWND dialog, int control, LRESULT index)
{
    SendDlgItemMessageW(dialog, control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void FillAllRows(HWND dialog, int control, uint32_t kind, uint16_t id)
{
    size_t count = 0;
    const CModuleDescriptor* rows = ModuleDescriptors(kind, &count);
    for (size_t i = 0; i < count; ++i)
        AddItem(dialog, control, rows[i].longName, static_cast<LPARAM>(rows[i].id));
    if (id < count)
        Select(dialog, control, id);
}

void FillRegistered(HWND dialog, int control, uint32_t kind, uint16_t id, CWorldData* data)
{
    bool withDisabled = kind != kModule3D;
    if (withDisabled)
        Select(dialog, control, AddItem(dialog, control, u"-Disabled-", 0));
    const CModuleDescriptor* wanted = FindModuleDescriptor(kind, id);
    CModuleEntry** list = data->registeredModules[kind];
    for (size_t i = 0; list && list[i]; ++i) {
        const CModuleDescriptor* row = list[i]->descriptor;
        if (!row)
            continue;
        LRESULT index = AddItem(dialog, control, row->longName, static_cast<LPARAM>(row->id));
        if (wanted && WStrCmp(row->longName, wanted->longName) == 0)
            Select(dialog, control, index);
    }
    if (withDisabled && SendDlgItemMessageW(dialog, control, CB_GETCOUNT, 0, 0) == 1)
        EnableWindow(GetDlgItem(dialog, control), FALSE);
}

void FillModuleList(HWND dialog, int control, uint32_t kind, uint16_t id)
{
    if (g_world && g_world->GetData())
        FillRegistered(dialog, control, kind, id, g_world->GetData());
    else
        FillAllRows(dialog, control, kind, id);
}

void FillResolutions(HWND dialog, const CStartupSettings& state)
{
    char16_t line[kLineUnits];
    for (const CResolutionRow& row : kResolutions) {
        FormatResolutionLine(row, line, kLineUnits);
        LRESULT index = AddItem(dialog, kDialogResolution, line, row.id);
        if (row.width == state.width && row.height == state.height)
            Select(dialog, kDialogResolution, index);
    }
}

void FillDepths(HWND dialog, const CStartupSettings& state)
{
    for (const CColorDepthRow& row : kDepths) {
        LRESULT index = AddItem(dialog, kDialogDepth, row.label, row.id);
        if (row.bits == state.colorDepth)
            Select(dialog, kDialogDepth, index);
    }
}

void ApplyLockMask(HWND dialog, uint32_t mask)
{
    for (const CLockedControl& lock : kLocks) {
        if (mask & lock.bit)
            EnableWindow(GetDlgItem(dialog, lock.control), FALSE);
    }
    if (mask & kLockRenameAccept)
        SetDlgItemTextW(dialog, kDialogAccept, u"SAVE AND EXIT");
}

void InitDialog(HWND dialog, CStartupSettings* state)
{
    g_state = state;
    g_world = state ? state->world : nullptr;
    if (!state)
        return;
    FillModuleList(dialog, kDialogRenderer, kModule3D, state->module3D);
    FillModuleList(dialog, kDialogAudio, kModuleAudio, state->moduleAudio);
    FillModuleList(dialog, kDialogInput, kModuleInput, state->moduleInput);
    FillModuleList(dialog, kDialogNetwork, kModuleNetwork, state->moduleNetwork);
    FillResolutions(dialog, *state);
    FillDepths(dialog, *state);
    CheckDlgButton(dialog, kDialogFullscreen, state->fullscreen ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, kDialogForce, state->forceSettings ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, kDialogDontAsk, state->ask ? BST_UNCHECKED : BST_CHECKED);
    ApplyLockMask(dialog, state->lockMask);
}

// The item data of the list's selection; false when nothing is selected.
bool SelectedItemData(HWND dialog, int control, LRESULT* data)
{
    LRESULT index = SendDlgItemMessageW(dialog, control, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return false;
    *data = SendDlgItemMessageW(dialog, control, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return *data >= 0;
}

// A module list gives its item data, or without a world the selection's index.
void ReadModuleId(HWND dialog, int control, uint16_t* id)
{
    LRESULT data = 0;
    if (!g_world)
        data = SendDlgItemMessageW(dialog, control, CB_GETCURSEL, 0, 0);
    else if (!SelectedItemData(dialog, control, &data))
        return;
    if (data >= 0)
        *id = static_cast<uint16_t>(data);
}

void ReadResolution(HWND dialog, CStartupSettings* state)
{
    LRESULT id = 0;
    if (!SelectedItemData(dialog, kDialogResolution, &id) || static_cast<size_t>(id) >= kResolutionCount)
        return;
    state->width = kResolutions[id].width;
    state->height = kResolutions[id].height;
}

void ReadDepth(HWND dialog, CStartupSettings* state)
{
    LRESULT id = 0;
    if (SelectedItemData(dialog, kDialogDepth, &id) && static_cast<size_t>(id) < kDepthCount)
        state->colorDepth = kDepths[id].bits;
}

void Accept(HWND dialog)
{
    if (g_state) {
        g_state->ask = IsDlgButtonChecked(dialog, kDialogDontAsk) == BST_CHECKED ? 0 : 1;
        ReadModuleId(dialog, kDialogRenderer, &g_state->module3D);
        ReadModuleId(dialog, kDialogAudio, &g_state->moduleAudio);
        ReadModuleId(dialog, kDialogInput, &g_state->moduleInput);
        ReadModuleId(dialog, kDialogNetwork, &g_state->moduleNetwork);
        ReadResolution(dialog, g_state);
        ReadDepth(dialog, g_state);
        g_state->fullscreen = IsDlgButtonChecked(dialog, kDialogFullscreen) == BST_CHECKED ? 1 : 0;
        g_state->forceSettings = IsDlgButtonChecked(dialog, kDialogForce) == BST_CHECKED ? 1 : 0;
    }
    EndDialog(dialog, kDialogAccept);
}

} // namespace

const CResolutionRow* ResolutionRows(size_t* count)
{
    if (count)
        *count = kResolutionCount;
    return kResolutions;
}

void FormatResolutionLine(const CResolutionRow& row, char16_t* out, size_t capacity)
{
    uint32_t width = row.width ? row.width : 1;
    uint32_t units = row.height / width;
    uint32_t tenths = 10u * row.height / width;
    uint32_t hundredths = 100u * row.height / width;
    uint32_t shiftW = ShiftTo1024(row.width);
    uint32_t shiftH = ShiftTo1024(row.height);
    WFormat(out, capacity, u"%02d- %s - [%d,%d%d] %d", row.id + 1, row.label, units, tenths - 10 * units,
            hundredths - 10 * tenths, shiftW > shiftH ? shiftW : shiftH);
}

INT_PTR SelectPlatformProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        InitDialog(dialog, reinterpret_cast<CStartupSettings*>(lParam));
    } else if (message == WM_COMMAND) {
        if (LOWORD(wParam) == kDialogAccept)
            Accept(dialog);
        else if (LOWORD(wParam) == kDialogExit)
            EndDialog(dialog, kDialogExit);
    }
    return 0;
}

Result SelectPlatform(CStartupSettings* settings, const CParamsReader*, CWorld* world)
{
    if (!settings)
        return RES_FAIL;
    CStartupSettings state = *settings;
    state.world = world;
    INT_PTR ended = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kPlatformDialogId), nullptr,
                                    SelectPlatformProc, reinterpret_cast<LPARAM>(&state));
    g_state = nullptr;
    g_world = nullptr;
    if (ended != kDialogAccept)
        return RES_FAIL;
    *settings = state;
    return RES_OK;
}
