#pragma once
#include <cstdint>

// A per-user rendezvous between copies of the program, named after a window class: the copy
// that owns a window of the class listens on an abstract UNIX socket, and a later copy started
// with an empty command line asks it to come to the front, then ends. FindWindowW,
// SetForegroundWindow and ShowWindow (platform/win32/Win32Window.h) use it for windows of other copies.

enum class InstanceRequest : uint8_t { Probe = 'P', Foreground = 'F', Show = 'S' };

// Starts listening for the class; false when another copy already listens (or no socket).
bool OpenInstanceRendezvous(const char16_t* className);
void CloseInstanceRendezvous(const char16_t* className);

// Sends one request to the copy listening for the class; false when no copy listens.
bool SendInstanceRequest(const char16_t* className, InstanceRequest request, uint8_t argument);

// Hands every waiting request from a process of the same user to the handler; never blocks.
using InstanceRequestHandler = void (*)(const char16_t* className, InstanceRequest request, uint8_t argument);
void PollInstanceRequests(InstanceRequestHandler handler);

// True when a copy listens for the class; it is then asked to show itself and come to the front.
bool BringRunningCopyToFront(const char16_t* className);
