#pragma once

class CBaseObject;
struct CWorldData;

// Registry create function of the OpenGL renderer (3D row id 4, "OpenGL 1.2"): a new
// C3DEngineOpenGL on the data block, or null when memory runs out.
CBaseObject* CreateRendererOpenGL(CWorldData* data);
