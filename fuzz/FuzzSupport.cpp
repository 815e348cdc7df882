#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/WideString.h"
#include "tests/support/TempDir.h"
#include "tools/PakWriter.h"

void FuzzFailed(const char* condition, const char* file, int line)
{
    fprintf(stderr, "%s:%d: the reader broke its promise: %s\n", file, line, condition);
    abort();
}

void TouchBytes(const void* data, size_t size)
{
    volatile uint8_t sum = 0;
    for (size_t i = 0; i < size; ++i)
        sum = static_cast<uint8_t>(sum + static_cast<const uint8_t*>(data)[i]);
}

const std::string& FuzzFolder()
{
    static const TempDir folder;
    return folder.Path();
}

std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size)
{
    const std::filesystem::path path = std::filesystem::path(FuzzFolder()) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path.string();
}

CFuzzPak::CFuzzPak(const char16_t* name, const uint8_t* data, size_t size)
{
    const std::string leading = PakEntryBytes("0lead", std::string(16, '\xA5'));
    m_dataOffset = static_cast<long>(leading.size() + kPakEntryHeaderBytes + Utf16ToUtf8(name).size());
    m_bytes = leading + PakEntryBytes(Utf16ToUtf8(name), std::string(reinterpret_cast<const char*>(data), size)) +
              PakEntryBytes("~trail", std::string(16, '\x5A'));
    m_pak.file = fmemopen(m_bytes.data(), m_bytes.size(), "rb");
    FUZZ_CHECK(m_pak.file);
    FUZZ_CHECK(FindPackerEntry(name, &m_pak) == RES_OK);
    FUZZ_CHECK(m_pak.foundSize == size && Position() == 0);
}

CFuzzPak::~CFuzzPak()
{
    ClosePackerFile(&m_pak);
}

long CFuzzPak::Position() const
{
    return ftell(m_pak.file) - m_dataOffset;
}
