#pragma once

class CParamsReader;
struct CWorldData;

// Reads the engine settings of [FOG], [CAMERA], [LIGHT], [WIREFRAME], [TEXT], [GAMMA_CORRECTION],
// [POINT_SPRITE] and [STENCIL_SHADOW] into the data block, in that order, with their saved
// copies. A null reader gives every default.
void ReadEngineSettings(CWorldData* data, const CParamsReader* params);
