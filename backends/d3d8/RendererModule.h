#pragma once

class CBaseObject;
struct CWorldData;

// Registry create function of the Direct3D 8.1 renderer (3D row id 2, "DirectX 8.1"): a new
// C3DEngineDX81 on the data block, or null when memory runs out.
CBaseObject* CreateRendererDX81(CWorldData* data);
