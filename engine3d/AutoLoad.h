#pragma once
#include <cstdint>

#include "base/Result.h"

class C3DEngine;
class C3DObject;
class C3DTexture;
class CParamsReader;
struct CWorldData;

// Where a texture's bytes come from.
enum TextureSource : uint8_t {
    kSourceMemory = 1,  // the data block's memory lookup fills its memory record
    kSourcePacker = 2,  // the data block's pak lookup positions its main pak record
    kSourceFile = 4,    // a file under the data folder
};

// Units of the name and path buffers of the loaders below.
constexpr uint32_t kAutoLoadNameUnits = 260;

// Texture loading by name or parameter key, with one failure report: a missing lookup, a failed
// lookup or a failed load logs the function's line (switched on, to the data block's log path)
// and sets the data block's error detail "Missing file: %s" with the name, then answers RES_FAIL
// (null for the Ex form). A mode other than the three sources loads nothing and answers RES_OK
// (null), silently.
//
// The key's value is the name in modes 1 and 2; in mode 4 it is joined to the data folder
// (the reader's GetPath), and the joined path is the name.

// A texture from the engine's texture cache with these creation words; the caller holds one
// reference of it. The engine's data block is the one used.
C3DTexture* AutoLoadTextureFromParamEx(uint8_t mode, uint32_t flags, uint32_t parameter, const char16_t* section,
                                       const char16_t* key, const char16_t* defaultValue, CParamsReader* params,
                                       C3DEngine* engine);

// Loads the image into this texture.
Result AutoLoadTextureFromParam(uint8_t mode, C3DTexture* texture, const char16_t* section, const char16_t* key,
                                const char16_t* defaultValue, CParamsReader* params, CWorldData* data);

// A texture from the cache on a stage of every part of the object.
Result AutoLoad3DObjectTextureFromParam(uint8_t mode, C3DObject* object, uint32_t flags, uint32_t parameter,
                                        uint32_t stage, const char16_t* section, const char16_t* key,
                                        const char16_t* defaultValue, CParamsReader* params, CWorldData* data);

// A texture from the cache on a stage of one part of the object (0xFFFFFFFF: every part).
Result AutoLoad3DObjectOneTextureFromParam(uint8_t mode, C3DObject* object, uint32_t flags, uint32_t parameter,
                                           uint32_t part, uint32_t stage, const char16_t* section,
                                           const char16_t* key, const char16_t* defaultValue,
                                           CParamsReader* params, CWorldData* data);

// Loads the named image into this texture; in mode 4 from the path "%s%s" (data folder, name).
// The log line carries that path, the error detail the bare name.
Result AutoLoadTexture(uint8_t mode, C3DTexture* texture, const char16_t* name, CWorldData* data);
