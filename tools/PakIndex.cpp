#include "tools/PakIndex.h"

#include "core/PackerFile.h"

#include <fstream>

namespace {

uint32_t U32At(const unsigned char* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

Result Fail(std::string* error, const std::string& message)
{
    if (error)
        *error = message;
    return RES_FAIL;
}

} // namespace

Result ReadPakIndex(const std::string& path, uint32_t startOffset, std::vector<PakIndexEntry>* entries,
                    std::string* error)
{
    entries->clear();
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return Fail(error, "cannot open " + path);
    const uint64_t end = static_cast<uint64_t>(in.tellg());
    uint64_t position = startOffset;
    while (position < end) {
        unsigned char header[kPakEntryHeaderBytes];
        if (end - position < sizeof header)
            return Fail(error, path + ": truncated entry header at offset " + std::to_string(position));
        in.seekg(static_cast<std::streamoff>(position));
        in.read(reinterpret_cast<char*>(header), sizeof header);
        uint32_t dataSize = U32At(header);
        uint32_t nameSize = U32At(header + 4);
        position += sizeof header;
        if (static_cast<uint64_t>(nameSize) + dataSize > end - position)
            return Fail(error, path + ": truncated entry at offset " + std::to_string(position - sizeof header));
        std::string name(nameSize, '\0');
        in.read(name.data(), nameSize);
        if (!in)
            return Fail(error, "cannot read " + path);
        ScramblePakName(reinterpret_cast<uint8_t*>(name.data()), name.size());
        entries->push_back(PakIndexEntry{name, position + nameSize, dataSize});
        position += static_cast<uint64_t>(nameSize) + dataSize;
    }
    return RES_OK;
}
