#include "core/PackerFile.h"

#include "base/FileSystem.h"
#include "base/StringHelpers.h"
#include "base/WideString.h"

namespace {

bool ReadU32(FILE* file, uint32_t* value)
{
    uint8_t bytes[4];
    if (fread(bytes, 1, sizeof bytes, file) != sizeof bytes)
        return false;
    *value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
             static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return true;
}

uint8_t FoldAscii(uint8_t c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - ('a' - 'A')) : c;
}

bool NameBegins(const uint8_t* stored, size_t storedLength, const char* wanted, size_t wantedLength)
{
    if (storedLength < wantedLength)
        return false;
    for (size_t i = 0; i < wantedLength; ++i) {
        if (FoldAscii(stored[i]) != FoldAscii(static_cast<uint8_t>(wanted[i])))
            return false;
    }
    return true;
}

// Size of the whole file, -1 when it cannot be found.
long long StreamSize(FILE* file)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return -1;
    return ftell(file);
}

} // namespace

void ScramblePakName(uint8_t* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        bytes[i] ^= static_cast<uint8_t>(kPakNameKey >> (8 * (i % 4)));
}

Result FindPackerEntry(const char16_t* name, CPackerFile* pak)
{
    if (!pak || !pak->file || !name || !*name)
        return RES_FAIL;
    size_t wantedLength = WStrLen(name);
    if (wantedLength > kPakMaxWantedName)
        return RES_FAIL;
    char wanted[kPakMaxWantedName + 1];
    NarrowString(name, wanted, sizeof wanted);

    FILE* file = pak->file;
    long long end = StreamSize(file);
    if (end < 0 || fseek(file, static_cast<long>(pak->startOffset), SEEK_SET) != 0)
        return RES_FAIL;
    long long position = pak->startOffset;
    uint8_t stored[kPakMaxStoredName];
    for (;;) {
        uint32_t dataSize = 0;
        uint32_t nameSize = 0;
        if (!ReadU32(file, &dataSize) || !ReadU32(file, &nameSize))
            return RES_FAIL;
        bool match = false;
        if (nameSize <= kPakMaxStoredName) {
            if (fread(stored, 1, nameSize, file) != nameSize)
                return RES_FAIL;
            ScramblePakName(stored, nameSize);
            match = NameBegins(stored, nameSize, wanted, wantedLength);
        } else if (fseek(file, static_cast<long>(nameSize), SEEK_CUR) != 0) {
            return RES_FAIL;
        }
        position += static_cast<long long>(kPakEntryHeaderBytes) + nameSize;
        if (match) {
            if (static_cast<long long>(dataSize) > end - position)
                return RES_FAIL;
            pak->foundSize = dataSize;
            WStrCopy(pak->foundName, kMaxPathUnits, name);
            return RES_OK;
        }
        if (fseek(file, static_cast<long>(dataSize), SEEK_CUR) != 0)
            return RES_FAIL;
        position += dataSize;
    }
}

Result OpenPackerFile(CPackerFile* pak, const char16_t* path, uint32_t startOffset)
{
    if (!pak)
        return RES_PAK_NOT_OPENED;
    ClosePackerFile(pak);
    WStrCopy(pak->path, kMaxPathUnits, path);
    pak->startOffset = startOffset;
    pak->file = OpenFile(path, "rb");
    return pak->file ? RES_OK : RES_PAK_NOT_OPENED;
}

void ClosePackerFile(CPackerFile* pak)
{
    if (!pak || !pak->file)
        return;
    fclose(pak->file);
    pak->file = nullptr;
}
