#pragma once

class CBaseObject;
struct CWorldData;

// Create function of the operating system's network module (network kind, id 1): a new
// CNetworkEngineWin32 on the data block, or null when memory runs out.
CBaseObject* CreateNetworkOS(CWorldData* data);
