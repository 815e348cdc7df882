#!/usr/bin/env python3
"""Checks a program's symbol table for the test-only code of tests/support/platform.

Usage: check_test_hooks.py [--present] PROGRAM

Without --present the program must hold none of the test hooks (the shipped program); with it,
it must hold some (a test program: proof that the check can see them). Either way the program
must have a symbol table to read.
"""
import re
import subprocess
import sys

# The setters and types that live only in the test-support targets.
HOOKS = [
    # test switches
    "SetHeadless", "SetShiftHeldAtStart", "SetFocusAssumed", "SetTestClock", "SetSleepHook",
    "SetShellLauncher", "SetInstanceScope", "SetDialogDriver", "SetDialogScript", "ResetTestSwitches",
    # the end-to-end harness's drive
    "StartDrive", "StopDrive", "DriveFrameGate", "DriveBeforeSwap", "SetDriveReporter",
    # the game state report the drive answers with
    "ReportWorldState",
    # Direct3D 8 trace, inspection and faults
    "D3D8TraceStart", "D3D8TraceStop", "D3D8TraceCalls", "D3D8TraceCount", "CD3D8TraceCall",
    "D3D8InspectState", "D3D8InspectDevice", "D3D8InspectStateBlock", "D3D8InspectPixelShader",
    "CD3D8DeviceView", "D3D8FailDirect3DCreate", "D3D8FailCreateDevice", "D3D8StartLost", "D3D8OverrideCaps",
    "D3D8OverrideDisplayMode", "D3D8SetLoss", "D3D8FailResets", "D3D8ResetTestHooks",
    # the hand-pulled mixer sink
    "CMixerManualSink",
]
# A symbol every build of the program holds: without it the table was not read.
PROGRAM_SYMBOL = "RunProgram"


def main(argv):
    args = argv[1:]
    present = args[:1] == ["--present"]
    if present:
        args = args[1:]
    if len(args) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    run = subprocess.run(["nm", "-C", args[0]], capture_output=True, text=True)
    if run.returncode != 0:
        print(f"nm failed on {args[0]}: {run.stderr.strip()}")
        return 1
    names = [line.split(" ", 2)[-1] for line in run.stdout.splitlines()]
    if not any(re.search(rf"\b{PROGRAM_SYMBOL}\b", name) for name in names):
        print(f"{args[0]}: no symbol {PROGRAM_SYMBOL}; the symbol table cannot be checked")
        return 1
    hook = re.compile(r"\b(" + "|".join(HOOKS) + r")\b")
    found = sorted({match.group(1) for name in names for match in [hook.search(name)] if match})
    if present:
        if not found:
            print(f"{args[0]}: none of the test hooks found")
            return 1
        return 0
    for name in found:
        print(f"{args[0]}: holds the test hook {name}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
