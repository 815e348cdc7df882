#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/Stream.h"
#include "game/GameData.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/TempDir.h"

// Little-endian bytes as the streams and paks hold them.
class SceneBytes {
public:
    template <typename T> SceneBytes& Put(T value)
    {
        char raw[sizeof(T)];
        memcpy(raw, &value, sizeof(T));
        m_bytes.append(raw, sizeof(T));
        return *this;
    }
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// One part as a description stores it.
struct ScenePartRecord {
    uint8_t kind;
    uint32_t phase, flags, itemId;
    float x, y, z, radius;
};

// A description: reference size, description word, part count, the parts, one u16 per order entry.
std::string SceneDescriptionBytes(float width, float height, uint32_t word, const std::vector<ScenePartRecord>& parts,
                                  const std::vector<uint16_t>& order);

// A stream over a byte string: reads from the front, writes append. Writes fail once
// writeBudget bytes are used up (unlimited by default).
class CSceneTestStream : public CStream {
public:
    explicit CSceneTestStream(std::string bytes = std::string(), size_t writeBudget = SIZE_MAX);

    Result Open() override { return RES_OK; }
    Result Close() override { return RES_OK; }
    bool Read(void* buffer, uint32_t elementSize, uint32_t count) override;
    bool Write(const void* buffer, uint32_t elementSize, uint32_t count) override;

    const std::string& Bytes() const { return m_bytes; }
    uint32_t BytesLeft() const override { return static_cast<uint32_t>(m_bytes.size() - m_readAt); }

private:
    std::string m_bytes;
    size_t m_readAt = 0;
    size_t m_writeBudget;
};

// A memory renderer whose data block points at scene game data (first view matrix identity,
// second a move by +500 in x, language 0) and, after OpenPak, at a pak looked up through a
// routine that records every name asked for.
class SceneFixture {
public:
    SceneFixture();
    ~SceneFixture();
    SceneFixture(const SceneFixture&) = delete;
    SceneFixture& operator=(const SceneFixture&) = delete;

    // Writes the entries as a pak and opens it in the data block.
    void OpenPak(const std::vector<std::pair<std::string, std::string>>& entries);
    // Names the data block's pak lookup was asked for since the last OpenPak.
    static const std::vector<std::u16string>& Lookups();

    CWorldData* Data() const { return renderer.Data(); }
    CMemoryEngine* Engine() const { return renderer.Engine(); }

    MemoryRenderer renderer;
    CGameData game{};

private:
    TempDir m_dir;
};
