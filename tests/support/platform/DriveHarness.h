#pragma once
#include <functional>
#include <string>

// The end-to-end harness's side inside the test build of the program (VD_DRIVE=<socket>): the
// program connects to the Unix socket, then runs in lockstep, one frame per "step". Each command
// is one line and gets one line back, "ok" or "error <why>":
//   step            runs one frame; answered "ok <frames run>" once it is presented
//   move X Y        the pointer moves to (X, Y), window pixels
//   down X Y, up X Y   the left button at (X, Y)
//   wheel STEPS     the wheel turns by STEPS notches
//   key KEYCODE     an SDL key code pressed and released
//   text UTF8       typed text
//   close           the window manager asks the window to close (its close button, Alt+F4)
//   shot PATH       the next presented frame is written to PATH as a PNG
//   state           answered "ok frame=<frames run> " and the report of the game (SetDriveReporter)
// Input becomes SDL events in SDL's queue, which reach the game as a player's do. When the
// harness hangs up the program runs freely again. With VD_AUDIO_CAPTURE set, each step also
// appends its frame's share of the mix to that file (AudioCapture.h).

// Connects and installs the frame gate and the swap hook; false when the socket does not answer.
bool StartDrive(const std::string& socketPath);
// Disconnects and removes the gate and the hook.
void StopDrive();
// What "state" reports after the frame count: space-separated key=value tokens; it must only
// read. Null: "state" answers an error. Kept across StartDrive and StopDrive.
void SetDriveReporter(std::function<std::string()> reporter);

// The gate and the hook, as the platform calls them.
bool DriveFrameGate();
void DriveBeforeSwap();
