#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/WorldData.h"
#include "engine3d/ObjectFile.h"
#include "tools/ObjectFileWriter.h"

// Two parts (a triangle list of two triangles over four vertices, and a strip of three
// vertices) with distinct values in every field.
C3dxModel SampleModel();

// Expects the block to hold the model's content that the flags store; absent fields must be
// zero (vertices) or default (materials, with the default-material rule).
void ExpectBlockHolds(const C3DObjectFileData& block, const C3dxModel& model, uint32_t flags);

// Expects two blocks to hold the same parts, vertices, indices and index kind.
void ExpectSameBlocks(const C3DObjectFileData& a, const C3DObjectFileData& b);

// Bytes with a little-endian u32 stored at an offset.
std::string WithU32(std::string bytes, size_t offset, uint32_t value);

// A fresh engine data block per test; the log lines written are collected.
class ObjectFileTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    static const std::u16string& LogText();
    static void ClearLog();

    Result LoadBytes(C3DObjectFile& file, const std::string& bytes, const char16_t* name = u"model.3dx")
    {
        return file.LoadFromAddress(reinterpret_cast<const uint8_t*>(bytes.data()),
                                    static_cast<uint32_t>(bytes.size()), name);
    }

    std::unique_ptr<CWorldData> m_data = std::make_unique<CWorldData>();
};
