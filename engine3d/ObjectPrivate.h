#pragma once
#include <cstdint>
#include <vector>

#include "engine3d/Object.h"

// Device-independent half of every renderer object class: the texture table setters, the
// per-part texture loaders (through the engine's texture cache) and the normal passes that
// Unlock runs. Renderers derive one class per vertex format from it; their Unlock runs this
// one while their vertex and index storage is still locked, then releases the storage.
class C3DObjectPrivate : public C3DObject {
public:
    C3DObjectPrivate(CWorldData* data, C3DEngine* engine) : C3DObject(data, engine) {}

    Result SetTextureAll(C3DTexture* texture, uint32_t stage) override;
    // The slot takes one reference of the new texture and drops the one of the texture it held.
    Result SetPartTexture(C3DTexture* texture, uint32_t part, uint32_t stage) override;
    // Pending normal pass (formats with normals), then with rebuild the render state.
    Result Unlock(uint8_t rebuild) override;
    Result ComputeNormals() override;
    Result ComputeSmoothNormals() override;
    Result MakeTextureFromAddress(uint32_t flags, uint32_t parameter, const uint8_t* data, uint32_t size,
                                  uint32_t stage, const char16_t* name) override;
    Result MakeOneTextureFromAddress(uint32_t flags, uint32_t parameter, const uint8_t* data, uint32_t size,
                                     uint32_t part, uint32_t stage, const char16_t* name) override;
    Result LoadTextureFromPacker(uint32_t flags, uint32_t parameter, CPackerFile* pak, uint32_t stage) override;
    Result LoadOneTextureFromPacker(uint32_t flags, uint32_t parameter, CPackerFile* pak, uint32_t part,
                                    uint32_t stage) override;
    Result LoadTextureFromFile(uint32_t flags, uint32_t parameter, const char16_t* path, uint32_t stage) override;
    Result LoadOneTextureFromFile(uint32_t flags, uint32_t parameter, const char16_t* path, uint32_t part,
                                  uint32_t stage) override;
    Result SaveTextureToFile(const char16_t* path, uint32_t part, uint32_t stage) override;
    C3DTexture* GetTexture(uint32_t part, uint32_t stage) override;
    Result ReleaseTextureStage(uint32_t stage) override;
    Result ReleaseTexture(uint32_t part, uint32_t stage) override;
    // Fills the object with a generated shape of a PrimitiveShape kind (PrimitiveParams.h).
    Result CreatePrimitive(uint32_t kind, void* parameters) override;
    // Rebuilds the object from the sources, each placed by its current matrix; part textures
    // are shared (one reference each) or, with a folder, loaded again from it by name.
    Result MergeObjects(C3DObject** sources, uint32_t count, const char16_t* textureFolder) override;
    // Rebuilds the object as a line list: one line of the given length along each source
    // vertex's normal, from the vertex placed by its object's current matrix.
    Result CreateNormalLines(C3DObject** sources, uint32_t count, float length, uint32_t colour) override;

private:
    bool ValidTarget(uint32_t part, uint32_t stage) const;
    // Stores a texture the cache answered (holding one reference for this call) on the stage
    // of one part or of every part, then drops the call's reference.
    Result StoreTexture(C3DTexture* texture, uint32_t part, uint32_t stage);
    Result NormalPass(bool smooth);
    // Gives vertices at exactly the same position the normalised sum of their normals.
    void WeldNormals(const std::vector<uint32_t>& vertices);
};
