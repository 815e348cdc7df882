#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Stream.h"
#include "engine3d/SceneObject3D.h"
#include "fuzz/FuzzSupport.h"

// A stream over the input.
inline CStreamMemory InputStream(const uint8_t* data, size_t size)
{
    CStreamMemory stream(kStreamRead, data, static_cast<uint32_t>(size));
    FUZZ_CHECK(stream.Open() == RES_OK);
    return stream;
}

// What the object's saving gives loads back into it and saves the same again.
inline void CheckSavedSection(CSceneObject3D& object, Result (CSceneObject3D::*save)(CStream*),
                              Result (CSceneObject3D::*load)(CStream*, uint32_t))
{
    CFuzzWriteStream saved;
    if (Failed((object.*save)(&saved)))
        return;
    CStreamMemory back(kStreamRead, saved.Bytes().data(), static_cast<uint32_t>(saved.Bytes().size()));
    FUZZ_CHECK(back.Open() == RES_OK);
    FUZZ_CHECK(Succeeded((object.*load)(&back, 63)));
    CFuzzWriteStream again;
    FUZZ_CHECK(Succeeded((object.*save)(&again)) && again.Bytes() == saved.Bytes());
}
