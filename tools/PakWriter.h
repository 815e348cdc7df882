#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

// Builds a pak archive: the entries sorted by name, ASCII letters folded, so that a name always
// precedes the longer names it begins (the lookup takes the first entry that begins with the
// wanted name); names scrambled with the pak key; no header.
class CPakWriter {
public:
    // Refuses an empty name, one longer than a lookup can match, one with a byte outside printable
    // ASCII, one already added in any letter case, and data of 4 GiB or more. RES_FAIL with
    // LastError() set.
    Result Add(const std::string& name, const std::string& data);
    Result AddFile(const std::string& name, const std::string& path);

    size_t Count() const { return m_entries.size(); }
    // The whole archive.
    std::string Bytes() const;
    // Writes the archive to path; a partly written file is removed.
    Result Write(const std::string& path);

    const std::string& LastError() const { return m_error; }

private:
    struct Entry {
        std::string name;
        std::string data;
    };

    Result Fail(const std::string& message);

    std::vector<Entry> m_entries;
    std::string m_error;
};

// Name order of the archive: byte order with ASCII letters folded to upper case.
bool PakNameLess(const std::string& a, const std::string& b);
bool PakNamesEqual(const std::string& a, const std::string& b);

// One chain entry: the sizes, the scrambled name, the data. The sizes may be given apart from
// the name and data, for hand-made and damaged paks.
std::string PakEntryBytes(const std::string& name, const std::string& data);
std::string PakEntryBytes(uint32_t dataSize, uint32_t nameSize, const std::string& name, const std::string& data);
