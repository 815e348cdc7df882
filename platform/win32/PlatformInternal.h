#pragma once

// Hooks between the parts of the platform layer.

// Converts the waiting SDL events into messages and serves single-instance requests.
void PumpPlatformEvents();
void PollPlatformRendezvous();

// Shutdown: frees what the GL and cursor parts still hold.
void ReleaseGlContexts();
void ReleaseCursors();
