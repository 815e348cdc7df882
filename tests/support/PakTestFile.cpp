#include "tests/support/PakTestFile.h"

#include "core/WideString.h"

PakTestFile::PakTestFile(const std::string& bytes, uint32_t startOffset)
{
    m_path = m_dir.Write("test.pak", bytes);
    OpenPackerFile(&m_pak, Utf8ToUtf16(m_path).c_str(), startOffset);
}

PakTestFile::~PakTestFile()
{
    ClosePackerFile(&m_pak);
}

std::string PakTestFile::ReadHere(size_t count)
{
    std::string bytes(count, '\0');
    size_t got = m_pak.file ? fread(bytes.data(), 1, count, m_pak.file) : 0;
    bytes.resize(got);
    return bytes;
}

std::string PakEntryBytes(const std::string& name, const std::string& data)
{
    return PakEntryBytes(static_cast<uint32_t>(data.size()), static_cast<uint32_t>(name.size()), name, data);
}

std::string PakEntryBytes(uint32_t dataSize, uint32_t nameSize, const std::string& name, const std::string& data)
{
    std::string out;
    for (uint32_t value : {dataSize, nameSize}) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>(value >> (8 * i)));
    }
    std::string scrambled = name;
    ScramblePakName(reinterpret_cast<uint8_t*>(scrambled.data()), scrambled.size());
    return out + scrambled + data;
}
