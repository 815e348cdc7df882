#include "tools/ObjectFileWriter.h"

#include "engine3d/ObjectFile.h"

#include "tools/ByteWriter.h"

#include <cstdio>
#include <utility>

namespace {

constexpr size_t kFixedNameBytes = 128;
constexpr size_t kVersion2NameBytes = 512;
constexpr char kFiller = '\xCD';

bool PartFits(const C3dxModel& model, const C3dxPart& part)
{
    return uint64_t(part.record[1]) + part.record[2] <= model.vertices.size() &&
           uint64_t(part.record[3]) + part.record[4] <= model.indices.size();
}

void WriteVertex(CByteWriter& out, const C3dxVertex& v, uint32_t flags)
{
    if (flags & kWrite3dxPositions)
        out.Floats(v.position, 3);
    if (flags & kWrite3dxNormals)
        out.Floats(v.normal, 3);
    if (flags & kWrite3dxColors)
        out.U32(v.colour);
    if (flags & kWrite3dxColors2)
        out.U32(v.colour2);
    if (flags & kWrite3dxUVs)
        out.Floats(v.uv, 2);
}

void WriteWords(CByteWriter& out, const C3dxPart& part, uint32_t flags)
{
    if (flags & kWrite3dxTextureFlags)
        out.U32(part.textureFlags);
    if (flags & kWrite3dxTextureParams)
        out.U32(part.textureParams);
}

void WriteRecord(CByteWriter& out, const C3dxPart& part)
{
    for (uint32_t word : part.record)
        out.U32(word);
}

void WriteMaterial(CByteWriter& out, const C3dxPart& part, uint32_t flags)
{
    if (flags & kWrite3dxMaterials)
        out.Floats(part.material.data(), part.material.size());
}

void WriteVersion16Or8(CByteWriter& out, const C3dxModel& model, uint32_t version, uint32_t flags)
{
    for (const C3dxPart& part : model.parts) {
        WriteRecord(out, part);
        if ((flags & kWrite3dxTextureNames) && version == 16) {
            out.U32(static_cast<uint32_t>(part.textureName.size()));
            out.Text(part.textureName);
        } else if (flags & kWrite3dxTextureNames) {
            out.Field(part.textureName, kFixedNameBytes);
        }
        WriteWords(out, part, flags);
        WriteMaterial(out, part, flags);
    }
    for (const C3dxVertex& v : model.vertices)
        WriteVertex(out, v, flags);
    if (model.indices.empty())
        return;
    if (version == 16)
        out.U32(model.indexKind);
    for (uint32_t index : model.indices) {
        if (version == 16 && model.indexKind == 1)
            out.U16(static_cast<uint16_t>(index));
        else
            out.U32(index);
    }
}

void WriteVersion4(CByteWriter& out, const C3dxModel& model, uint32_t flags)
{
    for (const C3dxPart& part : model.parts) {
        if (flags & kWrite3dxTextureNames)
            out.Field(part.textureName, kFixedNameBytes);
        WriteWords(out, part, flags);
        WriteRecord(out, part);
        WriteMaterial(out, part, flags);
        for (uint32_t v = 0; v < part.record[2]; ++v)
            WriteVertex(out, model.vertices[part.record[1] + v], flags);
        for (uint32_t i = 0; i < part.record[4]; ++i)
            out.U32(model.indices[part.record[3] + i]);
    }
}

void WriteVersion2(CByteWriter& out, const C3dxModel& model)
{
    for (const C3dxPart& part : model.parts) {
        out.Field(part.textureName, kVersion2NameBytes - 1);
        out.Field("", 1);
        for (int colour = 0; colour < 3; ++colour) {
            out.Fill(12, kFiller);
            out.Floats(&part.material[4 * colour], 3);
        }
        out.Fill(12 + 12, kFiller);
        out.U32(part.record[7]);
        out.U32(part.record[6]);
        out.U32(part.record[2]);
        out.U32(part.record[4]);
        for (uint32_t i = 0; i < part.record[2]; ++i) {
            const C3dxVertex& v = model.vertices[part.record[1] + i];
            out.Fill(12, kFiller);
            out.Floats(v.position, 3);
            out.Fill(12, kFiller);
            out.Floats(v.normal, 3);
            out.U32(v.colour);
            out.U32(v.colour2);
            out.Fill(8, kFiller);
            out.Floats(v.uv, 2);
            out.Fill(4, kFiller);
        }
        for (uint32_t i = 0; i < part.record[4]; ++i)
            out.U32(model.indices[part.record[3] + i]);
    }
}

} // namespace

std::string Make3dxBytes(const C3dxModel& model, uint32_t version, uint32_t flags)
{
    if (version != 2 && version != 4 && version != 8 && version != 16)
        return std::string();
    if (version <= 4) {
        for (const C3dxPart& part : model.parts) {
            if (!PartFits(model, part))
                return std::string();
        }
    }
    CByteWriter out;
    out.U32(static_cast<uint32_t>(model.parts.size()));
    out.U32(static_cast<uint32_t>(model.vertices.size()));
    out.U32(static_cast<uint32_t>(model.indices.size()));
    out.U32(version);
    out.U32(flags);
    if (version == 2)
        WriteVersion2(out, model);
    else if (version == 4)
        WriteVersion4(out, model, flags);
    else
        WriteVersion16Or8(out, model, version, flags);
    return std::move(out.Bytes());
}

bool Write3dxFile(const std::string& path, const C3dxModel& model, uint32_t version, uint32_t flags)
{
    std::string bytes = Make3dxBytes(model, version, flags);
    if (bytes.empty())
        return false;
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

void Add3dxQuad(C3dxModel& model, const std::array<float, 4>& rect, const std::array<float, 4>& uv,
                const std::string& texture)
{
    auto vertex = [](float x, float y, float u, float v) {
        C3dxVertex out{};
        out.position[0] = x;
        out.position[1] = y;
        out.normal[2] = -1.0f;
        out.colour = out.colour2 = 0xFFFFFFFFu;
        out.uv[0] = u;
        out.uv[1] = v;
        return out;
    };
    C3dxPart part;
    const uint32_t first = static_cast<uint32_t>(model.vertices.size());
    part.record = {static_cast<uint32_t>(model.parts.size()), first, 4, static_cast<uint32_t>(model.indices.size()),
                   6, 2, 1, 0};
    part.textureName = texture;
    if (!texture.empty()) {
        part.textureFlags = kObjectTextureFlags;
        part.textureParams = kObjectTextureParams;
    }
    part.material = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0};
    model.vertices.push_back(vertex(rect[0], rect[1], uv[0], uv[1]));
    model.vertices.push_back(vertex(rect[2], rect[1], uv[2], uv[1]));
    model.vertices.push_back(vertex(rect[0], rect[3], uv[0], uv[3]));
    model.vertices.push_back(vertex(rect[2], rect[3], uv[2], uv[3]));
    model.indices.insert(model.indices.end(), {0, 1, 2, 2, 1, 3});
    model.parts.push_back(part);
}
