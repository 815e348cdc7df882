#pragma once
#include <cstdint>
#include <string>

#include "core/PackerFile.h"
#include "tests/support/TempDir.h"
#include "tools/PakWriter.h"

// Pak bytes written to a temporary file and opened in a pak record; closed on destruction.
class PakTestFile {
public:
    explicit PakTestFile(const std::string& bytes, uint32_t startOffset = 0);
    ~PakTestFile();
    PakTestFile(const PakTestFile&) = delete;
    PakTestFile& operator=(const PakTestFile&) = delete;

    CPackerFile* Record() { return &m_pak; }
    const std::string& Path() const { return m_path; }

    // Reads count bytes at the file's current position.
    std::string ReadHere(size_t count);

private:
    TempDir m_dir;
    std::string m_path;
    CPackerFile m_pak{};
};
