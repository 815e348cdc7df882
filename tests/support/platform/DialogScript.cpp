#include "tests/support/platform/DialogScript.h"

#include <cstdio>
#include <string>

#include "platform/dialog/DialogDriver.h"
#include "platform/dialog/Win32Dialog.h"
#include "tests/support/platform/TestSwitches.h"

namespace {

constexpr int kItemUnits = 256;

// The index of the drop-down item with that text, or -1.
int FindItem(HWND dialog, int id, const char16_t* text)
{
    char16_t item[kItemUnits];
    for (int i = 0; text && GetComboItemText(dialog, id, i, item, kItemUnits) >= 0; ++i) {
        if (std::u16string(item) == text)
            return i;
    }
    return -1;
}

void PlayStep(HWND dialog, const CDialogScriptStep& step, CDialogHand& hand)
{
    if (step.kind == DialogStepKind::Close) {
        hand.Close();
        return;
    }
    HWND control = GetDlgItem(dialog, step.id);
    if (!control) {
        fprintf(stderr, "# Dialog script: no control %d\n", step.id);
        return;
    }
    if (!hand.IsEnabled(control)) {
        fprintf(stderr, "# Dialog script: control %d is disabled\n", step.id);
        return;
    }
    switch (step.kind) {
    case DialogStepKind::Select: hand.Select(control, step.value); break;
    case DialogStepKind::SelectText: hand.Select(control, FindItem(dialog, step.id, step.text)); break;
    case DialogStepKind::Check: hand.Check(control, step.value != 0); break;
    case DialogStepKind::Click: hand.Click(control); break;
    default: break;
    }
}

// Plays the script as the user of every dialog.
class CScriptDriver final : public CDialogDriver {
public:
    void Ready(HWND dialog) override
    {
        if (script->onReady)
            script->onReady(dialog, script->user);
    }
    bool ThroughView() const override { return script->throughGtk; }
    void Drive(HWND dialog, CDialogHand& hand) override
    {
        for (size_t i = 0; i < script->stepCount && !hand.HasEnded(); ++i)
            PlayStep(dialog, script->steps[i], hand);
    }
    void Ended(HWND dialog) override
    {
        if (script->onEnded)
            script->onEnded(dialog, script->user);
    }

    const CDialogScript* script = nullptr;
};

CScriptDriver g_driver;

} // namespace

void SetDialogScript(const CDialogScript* script)
{
    g_driver.script = script;
    SetDialogDriver(script ? &g_driver : nullptr);
}
