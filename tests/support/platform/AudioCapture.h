#pragma once
#include <string>

// The mix a driven program plays, kept frame by frame (VD_AUDIO_CAPTURE=<path>): new audio
// devices mix only when pulled (the hand-pulled sink), and every stepped frame appends one
// frame's share of the mix (44100 / 30 sample frames of 16-bit stereo, interleaved left, right),
// silence while no device is open. Frame n of the drive thus starts at sample frame
// (n - 1) x 1470 of the file, whatever the wall clock did.

constexpr unsigned kCaptureFramesPerStep = 1470;

// Opens (truncates) the file and installs the sink's factory; false when the file cannot be made.
bool StartAudioCapture(const std::string& path);
// One stepped frame's share of the mix, appended; nothing unless started.
void CaptureStepAudio();
