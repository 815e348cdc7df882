#include "tools/PakWriter.h"

#include "core/PackerFile.h"
#include "tools/ByteWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

unsigned char Fold(char c)
{
    auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - ('a' - 'A')) : u;
}

bool IsPrintableAscii(const std::string& name)
{
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

} // namespace

bool PakNameLess(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Fold(x) < Fold(y); });
}

bool PakNamesEqual(const std::string& a, const std::string& b)
{
    return !PakNameLess(a, b) && !PakNameLess(b, a);
}

std::string PakEntryBytes(const std::string& name, const std::string& data)
{
    return PakEntryBytes(static_cast<uint32_t>(data.size()), static_cast<uint32_t>(name.size()), name, data);
}

std::string PakEntryBytes(uint32_t dataSize, uint32_t nameSize, const std::string& name, const std::string& data)
{
    CByteWriter out;
    out.U32(dataSize);
    out.U32(nameSize);
    std::string scrambled = name;
    ScramblePakName(reinterpret_cast<uint8_t*>(scrambled.data()), scrambled.size());
    out.Text(scrambled);
    out.Text(data);
    return std::move(out.Bytes());
}

Result CPakWriter::Fail(const std::string& message)
{
    m_error = message;
    return RES_FAIL;
}

Result CPakWriter::Add(const std::string& name, const std::string& data)
{
    if (name.empty())
        return Fail("empty entry name");
    if (name.size() > kPakMaxWantedName)
        return Fail("entry name longer than " + std::to_string(kPakMaxWantedName) + " bytes: " + name);
    if (!IsPrintableAscii(name))
        return Fail("entry name with a byte outside printable ASCII: " + name);
    if (data.size() > UINT32_MAX)
        return Fail("entry of 4 GiB or more: " + name);
    auto at = std::lower_bound(m_entries.begin(), m_entries.end(), name,
                               [](const Entry& entry, const std::string& wanted) { return PakNameLess(entry.name, wanted); });
    if (at != m_entries.end() && PakNamesEqual(at->name, name))
        return Fail("duplicate entry name: " + name + " (already added as " + at->name + ")");
    m_entries.insert(at, Entry{name, data});
    return RES_OK;
}

Result CPakWriter::AddFile(const std::string& name, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail("cannot read " + path);
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad())
        return Fail("cannot read " + path);
    return Add(name, all.str());
}

std::string CPakWriter::Bytes() const
{
    std::string out;
    for (const Entry& entry : m_entries)
        out += PakEntryBytes(entry.name, entry.data);
    return out;
}

Result CPakWriter::Write(const std::string& path)
{
    std::string bytes = Bytes();
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return Fail("cannot create " + path);
    bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (fclose(file) != 0 || !written) {
        remove(path.c_str());
        return Fail("cannot write " + path);
    }
    return RES_OK;
}
