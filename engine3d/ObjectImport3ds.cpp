#include "base/FileSystem.h"
#include "core/Stream.h"
#include "engine3d/ObjectFile.h"
#include "engine3d/ObjectFileRead.h"
#include "engine3d/ObjectFileSave.h"
#include "engine3d/ObjectImportIsolated.h"

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

struct FileFree {
    void operator()(Lib3dsFile* file) const { lib3ds_file_free(file); }
};
using Lib3dsFilePtr = std::unique_ptr<Lib3dsFile, FileFree>;

using VertexRef = std::pair<const Lib3dsMesh*, uint32_t>;  // mesh, point number

// The vertices and triangles gathered for one material.
struct MaterialPart {
    const Lib3dsMaterial* material;
    std::vector<VertexRef> vertices;
    std::map<VertexRef, uint32_t> numbers;
    std::vector<uint32_t> indices;  // relative to the part
};

const Lib3dsMesh* FindMesh(Lib3dsFile* file, Lib3dsNode* node)
{
    if (Lib3dsMesh* mesh = lib3ds_file_mesh_by_name(file, node->data.object.instance))
        return mesh;
    if (strcmp(node->name, "$$$DUMMY") == 0)
        return nullptr;
    return lib3ds_file_mesh_by_name(file, node->name);
}

// Every object node of the tree, parents before their children.
std::vector<Lib3dsNode*> ObjectNodes(Lib3dsFile* file)
{
    std::vector<Lib3dsNode*> found;
    std::vector<Lib3dsNode*> stack;
    auto pushSiblings = [&stack](Lib3dsNode* first) {
        size_t at = stack.size();
        for (Lib3dsNode* node = first; node; node = node->next)
            stack.insert(stack.begin() + at, node);
    };
    pushSiblings(file->nodes);
    while (!stack.empty()) {
        Lib3dsNode* node = stack.back();
        stack.pop_back();
        if (node->type == LIB3DS_OBJECT_NODE)
            found.push_back(node);
        pushSiblings(node->childs);
    }
    return found;
}

using PartsByMaterial = std::map<const Lib3dsMaterial*, MaterialPart*>;

Result AddMesh(Lib3dsFile* file, const Lib3dsMesh* mesh, const PartsByMaterial& parts, const char*& reason)
{
    for (uint32_t f = 0; f < mesh->faces; ++f) {
        const Lib3dsFace& face = mesh->faceL[f];
        if (face.material[0] == '\0')
            continue;
        auto found = parts.find(lib3ds_file_material_by_name(file, face.material));
        if (found == parts.end())
            continue;
        MaterialPart* part = found->second;
        for (uint32_t point : face.points) {
            if (point >= mesh->points || (mesh->texels > 0 && point >= mesh->texels)) {
                reason = "a face names a missing point";
                return RES_FAIL;
            }
            auto added = part->numbers.emplace(VertexRef(mesh, point), uint32_t(part->vertices.size()));
            if (added.second)
                part->vertices.emplace_back(mesh, point);
            part->indices.push_back(added.first->second);
        }
    }
    return RES_OK;
}

// A colour channel of 0..1 as a byte, truncated.
uint32_t Channel(float value)
{
    if (!(value > 0.0f))
        return 0;
    return value >= 1.0f ? 255u : static_cast<uint32_t>(value * 255.0f);
}

uint32_t Argb(const Lib3dsRgba colour)
{
    return Channel(colour[3]) << 24 | Channel(colour[0]) << 16 | Channel(colour[1]) << 8 | Channel(colour[2]);
}

void FillPart(const MaterialPart& part, uint32_t p, uint32_t firstVertex, uint32_t firstIndex,
              C3DObjectFileData& block)
{
    const Lib3dsMaterial& material = *part.material;
    float uScale = 1.0f;
    float vScale = 1.0f;
    const Lib3dsTextureMap& map = material.texture1_map;
    if (map.name[0] != '\0') {
        snprintf(block.textureNames[p].text, kObjectNameBytes, "%.*s", int(sizeof(map.name)), map.name);
        block.textureFlags[p] = kObjectTextureFlags;
        block.textureParams[p] = kObjectTextureParams;
        uScale = map.scale[0];
        vScale = map.scale[1];
    }
    uint32_t colour = Argb(material.diffuse);
    uint32_t colour2 = Argb(material.specular);
    for (uint32_t i = 0; i < part.vertices.size(); ++i) {
        const Lib3dsMesh& mesh = *part.vertices[i].first;
        uint32_t point = part.vertices[i].second;
        uint32_t v = firstVertex + i;
        const float* position = mesh.pointL[point].pos;
        block.positions[v] = {-position[0], position[1], position[2]};
        block.colors[v] = colour;
        block.colors2[v] = colour2;
        if (mesh.texels > 0)
            block.uvs[v] = {mesh.texelL[point][0] * uScale, (1.0f - mesh.texelL[point][1]) * vScale};
    }
    std::copy(part.indices.begin(), part.indices.end(), block.indices.begin() + firstIndex);
    uint32_t indexCount = uint32_t(part.indices.size());
    block.parts[p] = {p, firstVertex, uint32_t(part.vertices.size()), firstIndex, indexCount, indexCount / 3, 1, 0};
}

// Gathers the object nodes' faces into one part per material of the file.
Result Convert3ds(Lib3dsFile* file, C3DObjectFile& target, const char*& reason)
{
    std::vector<MaterialPart> parts;
    for (Lib3dsMaterial* material = file->materials; material; material = material->next)
        parts.push_back({material, {}, {}, {}});
    PartsByMaterial byMaterial;
    for (MaterialPart& part : parts)
        byMaterial.emplace(part.material, &part);
    for (Lib3dsNode* node : ObjectNodes(file)) {
        const Lib3dsMesh* mesh = FindMesh(file, node);
        if (mesh && Failed(AddMesh(file, mesh, byMaterial, reason)))
            return RES_FAIL;
    }
    uint64_t vertexCount = 0;
    uint64_t indexCount = 0;
    for (const MaterialPart& part : parts) {
        vertexCount += part.vertices.size();
        indexCount += part.indices.size();
    }
    reason = "too many vertices";
    if (vertexCount > UINT32_MAX || indexCount > UINT32_MAX)
        return RES_FAIL;
    reason = "out of memory";
    if (Failed(target.Init(uint32_t(parts.size()), uint32_t(vertexCount), uint32_t(indexCount))))
        return RES_FAIL;
    uint32_t firstVertex = 0;
    uint32_t firstIndex = 0;
    for (uint32_t p = 0; p < parts.size(); ++p) {
        FillPart(parts[p], p, firstVertex, firstIndex, *target.GetData());
        firstVertex += uint32_t(parts[p].vertices.size());
        firstIndex += uint32_t(parts[p].indices.size());
    }
    return RES_OK;
}

// Appends what is written to a text.
class CStringStream : public CStream {
public:
    explicit CStringStream(std::string& bytes) : CStream(kStreamWrite), m_bytes(bytes) {}
    Result Open() override { return RES_OK; }
    Result Close() override { return RES_OK; }
    bool Write(const void* buffer, uint32_t elementSize, uint32_t count) override
    {
        m_bytes.append(static_cast<const char*>(buffer), size_t(elementSize) * count);
        return true;
    }

private:
    std::string& m_bytes;
};

void AppendWord(std::string& bytes, uint32_t value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

// Runs in the child: the import's result word, its reason's length and text, and on success
// the object as a version 16 ".3dx" file.
std::string ImportInChild(const std::string& path)
{
    std::string message;
    Result result = RES_FAIL;
    const char* reason = "the file cannot be loaded";
    std::string object;
    try {
        Lib3dsFilePtr file(lib3ds_file_load(path.c_str()));
        C3DObjectFile target(nullptr);
        if (file)
            result = Convert3ds(file.get(), target, reason);
        uint64_t written = 0;
        CStringStream stream(object);
        if (Succeeded(result))
            Write3dx(stream, *target.GetData(), k3dxAllContent, written);
    } catch (const std::bad_alloc&) {
        result = RES_OUT_OF_MEMORY;
        reason = "out of memory";
    }
    AppendWord(message, uint32_t(result));
    AppendWord(message, uint32_t(strlen(reason)));
    message += reason;
    return message + object;
}

} // namespace

Result C3DObjectFile::Import3DS(const char16_t* path)
{
    try {
        return Import3dsIsolated(path);
    } catch (const std::bad_alloc&) {
        SetLastError(RES_OUT_OF_MEMORY);
        return Report(RES_OUT_OF_MEMORY, path, "Import3DS", "out of memory");
    }
}

Result C3DObjectFile::Import3dsIsolated(const char16_t* path)
{
    // lib3ds aborts or recurses without end on some damaged files: it runs in a child process.
    std::string resolved = ResolvePath(path);
    std::string message;
    const char* failure = nullptr;
    if (!RunIsolated([&resolved] { return ImportInChild(resolved); }, message, failure, m_importTimeoutMs))
        return Report(RES_FAIL, path, "Import3DS", failure);

    uint32_t words[2] = {};  // result, reason length
    if (message.size() < sizeof(words))
        return Report(RES_FAIL, path, "Import3DS", "the import's answer is short");
    memcpy(words, message.data(), sizeof(words));
    if (words[1] > message.size() - sizeof(words))
        return Report(RES_FAIL, path, "Import3DS", "the import's answer is short");
    Result result = static_cast<Result>(words[0]);
    if (Failed(result)) {
        if (result == RES_OUT_OF_MEMORY)
            SetLastError(result);
        return Report(result, path, "Import3DS", message.substr(sizeof(words), words[1]).c_str());
    }
    size_t offset = sizeof(words) + words[1];
    uint32_t size = uint32_t(message.size() - offset);
    CStreamMemory stream(kStreamRead, message.data() + offset, size);
    if (Failed(stream.Open()))
        return Report(RES_FAIL, path, "Import3DS", "the import's answer is short");
    C3dxInput input(stream, size);
    return Read3dx(input, path, "Import3DS");
}
