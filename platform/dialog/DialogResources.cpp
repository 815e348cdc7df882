#include "platform/dialog/Win32Dialog.h"

namespace {

constexpr CDialogControlTemplate kSelectPlatformControls[] = {
    {1000, DialogControlKind::DropDownList, nullptr, u"VIDEO", false},
    {1027, DialogControlKind::DropDownList, nullptr, u"VIDEO", false},
    {1003, DialogControlKind::DropDownList, nullptr, u"VIDEO", false},
    {1028, DialogControlKind::PushCheckBox, u"Fullscreen", u"VIDEO", false},
    {1029, DialogControlKind::PushCheckBox, u"Force settings", u"VIDEO", false},
    {1001, DialogControlKind::DropDownList, nullptr, u"AUDIO", false},
    {1002, DialogControlKind::DropDownList, nullptr, u"INPUT", false},
    {1004, DialogControlKind::DropDownList, nullptr, u"NETWORK", false},
    {1019, DialogControlKind::PushCheckBox, u"Don't ask me again !", nullptr, true},
    {2, DialogControlKind::PushButton, u"EXIT", nullptr, false},
    {1, DialogControlKind::DefaultPushButton, u"SAVE AND LAUNCH", nullptr, false},
};

constexpr CDialogTemplate kSelectPlatform = {1002, u"rIrodiVEV - Select platform :", kSelectPlatformControls,
                                             sizeof(kSelectPlatformControls) / sizeof(kSelectPlatformControls[0])};

} // namespace

const CDialogTemplate* FindDialogTemplate(uint16_t id)
{
    return id == kSelectPlatform.id ? &kSelectPlatform : nullptr;
}
