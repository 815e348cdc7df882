#pragma once

class CBaseObject;
struct CWorldData;

// Registry create function of the Direct3D 8.1 renderer (3D row id 2). Until the renderer is
// built it makes nothing: the detail "No compatible DirectX 8.1 was found" and null.
CBaseObject* CreateRendererDX81(CWorldData* data);
