#pragma once

class CBaseObject;
struct CWorldData;

// Registry create function of the DirectSound 8.1 audio module (audio row id 2): a new
// CAudioEngineDS8, or null when memory runs out.
CBaseObject* CreateAudioDX81(CWorldData* data);
