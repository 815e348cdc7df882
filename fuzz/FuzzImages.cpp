#include "fuzz/FuzzImages.h"

#include <cstring>
#include <memory>

#include "core/WorldData.h"
#include "engine3d/ImageDecoders.h"
#include "engine3d/TextureRaw.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr uint32_t kDeviceSide = 512;

size_t PixelBytes(const C3DTextureRaw& image)
{
    return size_t{image.GetWidth()} * image.GetHeight() * (image.GetBits() / 8);
}

} // namespace

void FuzzImage(const uint8_t* data, size_t size, const char16_t* name)
{
    auto world = std::make_unique<CWorldData>();
    world->maxTextureWidth = world->maxTextureHeight = kDeviceSide;
    C3DTextureRaw memory(world.get());
    C3DTextureRaw packed(world.get());
    const Result fromMemory = memory.LoadFromAddress(data, static_cast<uint32_t>(size), name);
    CFuzzPak pak(name, data, size);
    const Result fromPak = packed.LoadFromPacker(pak.Record());
    FUZZ_CHECK(pak.Position() <= static_cast<long>(size));
    FUZZ_CHECK(fromMemory == fromPak);
    if (Succeeded(fromMemory)) {
        FUZZ_CHECK(memory.GetPixels() && IsPixelLayout(memory.GetBits()));
        FUZZ_CHECK(memory.GetWidth() >= 1 && memory.GetWidth() <= kMaxImageSide);
        FUZZ_CHECK(memory.GetHeight() >= 1 && memory.GetHeight() <= kMaxImageSide);
        FUZZ_CHECK(memory.GetWidth() == packed.GetWidth() && memory.GetHeight() == packed.GetHeight() &&
                   memory.GetBits() == packed.GetBits());
        FUZZ_CHECK(memcmp(memory.GetPixels(), packed.GetPixels(), PixelBytes(memory)) == 0);
    } else {
        FUZZ_CHECK(!memory.GetPixels() && !packed.GetPixels());
    }
    FUZZ_CHECK(memory.Release() == RES_OK);
    FUZZ_CHECK(packed.Release() == RES_OK);
}
