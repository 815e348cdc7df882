#include "tests/support/PakTestFile.h"

#include <gtest/gtest.h>

#include "base/WideString.h"

PakTestFile::PakTestFile(const std::string& bytes, uint32_t startOffset)
{
    m_path = m_dir.Write("test.pak", bytes);
    EXPECT_EQ(OpenPackerFile(&m_pak, Utf8ToUtf16(m_path).c_str(), startOffset), RES_OK);
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
