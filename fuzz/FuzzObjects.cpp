#include "fuzz/FuzzObjects.h"

#include "engine3d/ObjectFileRead.h"
#include "fuzz/FuzzSupport.h"

void CheckLoadedObject(const C3DObjectFile& file)
{
    const C3DObjectFileData* block = file.GetData();
    const char* reason = "";
    FUZZ_CHECK(block && CheckObjectParts(*block, reason) == RES_OK);
    const size_t parts = block->PartCount();
    const size_t vertices = block->VertexCount();
    FUZZ_CHECK(block->colors.size() == vertices && block->colors2.size() == vertices && block->uvs.size() == vertices &&
               block->normals.size() == vertices);
    FUZZ_CHECK(block->materials.size() == parts && block->partNames.size() == parts &&
               block->textureNames.size() == parts && block->textureFlags.size() == parts &&
               block->textureParams.size() == parts);
}
