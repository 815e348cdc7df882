// Seeds of the object harnesses: ".3dx" files of every version from the object-file writer,
// the sample model as object data, a 3DS file from lib3ds's writer, hand-written OBJ text, and
// the small OBJ and 3DS models of Debian's assimp-testmodels.

#include <cstdio>
#include <fstream>
#include <iterator>

#include "fuzz/FuzzSupport.h"
#include "fuzz/seeds/Seeds.h"
#include "tests/support/ObjectFile3dsFixtures.h"
#include "tests/support/ObjectFileFixtures.h"
#include "tools/ByteWriter.h"
#include "tools/ObjectFileWriter.h"

namespace {

const char kModels[] = "/usr/share/assimp/models/";
constexpr size_t kLargestModel = 16 * 1024;

// The ObjectRaw harness's layout: u16 bits, u8 counts, part records, u16 indices, name bytes.
std::string RawObject(const C3dxModel& model, uint16_t bits)
{
    CByteWriter out;
    out.U16(bits);
    out.U8(static_cast<uint8_t>(model.parts.size()));
    out.U8(static_cast<uint8_t>(model.vertices.size()));
    out.U8(static_cast<uint8_t>(model.indices.size()));
    for (const C3dxPart& part : model.parts) {
        for (uint32_t word : part.record)
            out.U32(word);
    }
    for (uint32_t index : model.indices)
        out.U16(static_cast<uint16_t>(index));
    for (const C3dxPart& part : model.parts)
        out.Field(part.textureName, 8);
    return out.Bytes();
}

std::string Written3ds()
{
    const std::string path = FuzzFolder() + "/fixture.3ds";
    if (!Write3dsFixture(path))
        return {};
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

FUZZ_SEEDS(Object3dx)
{
    FuzzSeeds seeds;
    for (uint32_t version : {2u, 4u, 8u, 16u}) {
        seeds.emplace_back("v" + std::to_string(version) + ".3dx", Make3dxBytes(SampleModel(), version, kWrite3dxEverything));
        seeds.emplace_back("v" + std::to_string(version) + "-positions.3dx",
                           Make3dxBytes(SampleModel(), version, kWrite3dxPositions));
    }
    C3dxModel shortIndices = SampleModel();
    shortIndices.indexKind = 1;
    seeds.emplace_back("u16-indices.3dx", Make3dxBytes(shortIndices, 16, kWrite3dxEverything));
    return seeds;
}

FUZZ_SEEDS(ObjectRaw)
{
    return {{"sample", RawObject(SampleModel(), 0)}, {"textured", RawObject(SampleModel(), 0x21)}};
}

FUZZ_SEEDS(ObjectObj)
{
    FuzzSeeds seeds = SystemSamples(std::string(kModels) + "OBJ", {".obj"}, kLargestModel);
    seeds.emplace_back("quad.obj", "# a quad in two groups\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 1\n"
                                   "vn 0 0 1\ng first\nusemtl red\nf 1/1/1 2/2/1 3/1/1\ng second\nf 1//1 3//1 4//1\n"
                                   "f -1 -2 -3 -4\n");
    return seeds;
}

FUZZ_SEEDS(Object3ds)
{
    FuzzSeeds seeds = SystemSamples(std::string(kModels) + "3DS", {".3ds"}, kLargestModel);
    seeds.emplace_back("fixture.3ds", Written3ds());
    return seeds;
}
