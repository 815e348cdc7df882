#include "tests/support/SceneFixture.h"

#include <gtest/gtest.h>

#include "core/PackerFile.h"
#include "base/WideString.h"
#include "tools/PakWriter.h"

namespace {

std::vector<std::u16string> g_lookups;

Result RecordingLookup(const char16_t* name, CPackerFile* pak)
{
    g_lookups.emplace_back(name ? name : u"");
    return FindPackerEntry(name, pak);
}

} // namespace

std::string SceneDescriptionBytes(float width, float height, uint32_t word, const std::vector<ScenePartRecord>& parts,
                                  const std::vector<uint16_t>& order)
{
    SceneBytes out;
    out.Put(width).Put(height).Put(word).Put(static_cast<uint32_t>(parts.size()));
    for (const ScenePartRecord& p : parts)
        out.Put(p.kind).Put(p.phase).Put(p.flags).Put(p.itemId).Put(p.x).Put(p.y).Put(p.z).Put(p.radius);
    for (uint16_t o : order)
        out.Put(o);
    return out.Bytes();
}

CSceneTestStream::CSceneTestStream(std::string bytes, size_t writeBudget)
    : CStream(kStreamRead | kStreamWrite), m_bytes(std::move(bytes)), m_writeBudget(writeBudget)
{
}

bool CSceneTestStream::Read(void* buffer, uint32_t elementSize, uint32_t count)
{
    const size_t size = size_t{elementSize} * count;
    if (size > BytesLeft())
        return false;
    memcpy(buffer, m_bytes.data() + m_readAt, size);
    m_readAt += size;
    return CStream::Read(buffer, elementSize, count);
}

bool CSceneTestStream::Write(const void* buffer, uint32_t elementSize, uint32_t count)
{
    const size_t size = size_t{elementSize} * count;
    if (size > m_writeBudget)
        return false;
    m_writeBudget -= size;
    m_bytes.append(static_cast<const char*>(buffer), size);
    return true;
}

SceneFixture::SceneFixture()
{
    Matrix4& second = game.m_matView[1];
    for (Matrix4* m : {&game.m_matView[0], &second}) {
        *m = Matrix4{};
        m->m[0] = m->m[5] = m->m[10] = m->m[15] = 1.0f;
    }
    second.m[12] = 500.0f;
    Data()->gameData = &game;
    Data()->sceneGameData = &game;
}

SceneFixture::~SceneFixture()
{
    ClosePackerFile(&Data()->pak);
    Data()->gameData = nullptr;
    Data()->sceneGameData = nullptr;
}

void SceneFixture::OpenPak(const std::vector<std::pair<std::string, std::string>>& entries)
{
    CPakWriter writer;
    for (const auto& entry : entries)
        ASSERT_EQ(writer.Add(entry.first, entry.second), RES_OK) << entry.first;
    const std::string path = m_dir.Write("scene.pak", writer.Bytes());
    ASSERT_EQ(OpenPackerFile(&Data()->pak, Utf8ToUtf16(path).c_str(), 0), RES_OK);
    Data()->pakLookup = &RecordingLookup;
    g_lookups.clear();
}

const std::vector<std::u16string>& SceneFixture::Lookups() { return g_lookups; }
