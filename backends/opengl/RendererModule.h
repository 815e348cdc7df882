#pragma once

class CBaseObject;
struct CWorldData;

// Registry create function of the OpenGL renderer (3D row id 4). Until the renderer is built it
// makes nothing: the detail "No compatible OpenGL 1.2 was found" and null.
CBaseObject* CreateRendererOpenGL(CWorldData* data);
