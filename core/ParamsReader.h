#pragma once
#include <cstdint>
#include <memory>

#include "base/BaseObject.h"
#include "core/PackerFile.h"
#include "base/Result.h"

// Work buffers of one question: a line keeps at most 4094 characters, its end character and a
// terminator; a value at most 4095 units and a terminator.
constexpr uint32_t kParamsLineUnits = 4096;
constexpr uint32_t kParamsValueUnits = 4096;
// A floating value is narrowed into this many bytes before conversion.
constexpr uint32_t kParamsFloatBytes = 260;

// An INI-like text of 8-bit characters answering typed questions of section, key and default.
// Bytes widen to 16-bit units by zero extension. Readers never write: every setter fails.
class CParamsReader : public CBaseObject {
public:
    virtual uint8_t GetBool(const char16_t* section, const char16_t* key, uint8_t defaultValue) const = 0;
    virtual uint8_t GetU8(const char16_t* section, const char16_t* key, uint8_t defaultValue) const = 0;
    virtual uint16_t GetU16(const char16_t* section, const char16_t* key, uint16_t defaultValue) const = 0;
    virtual uint32_t GetU32(const char16_t* section, const char16_t* key, uint32_t defaultValue) const = 0;
    virtual double GetFloat(const char16_t* section, const char16_t* key, float defaultValue) const = 0;
    virtual double GetDouble(const char16_t* section, const char16_t* key, double defaultValue) const = 0;
    // Found: the value (even empty) into out, RES_OK. Else the default (empty when null), RES_FAIL.
    // At most maxUnits units are written, the terminator included.
    virtual Result GetString(const char16_t* section, const char16_t* key, const char16_t* defaultValue,
                             char16_t* out, uint32_t maxUnits) const = 0;
    // Found and not empty: prefix (when not null) then the value, RES_OK. Else RES_FAIL, with out
    // untouched for a null or empty default, or prefix then the default. Bounded by maxUnits.
    virtual Result GetPath(const char16_t* section, const char16_t* key, const char16_t* defaultValue,
                           char16_t* out, uint32_t maxUnits, const char16_t* prefix) const = 0;

    virtual Result SetBool(const char16_t* section, const char16_t* key, uint8_t value);
    virtual Result SetU8(const char16_t* section, const char16_t* key, uint8_t value);
    virtual Result SetU16(const char16_t* section, const char16_t* key, uint16_t value);
    virtual Result SetU32(const char16_t* section, const char16_t* key, uint32_t value);
    virtual Result SetFloat(const char16_t* section, const char16_t* key, float value);
    virtual Result SetDouble(const char16_t* section, const char16_t* key, double value);
    virtual Result SetString(const char16_t* section, const char16_t* key, const char16_t* value);

    uint32_t Length() const { return m_length; }

protected:
    CParamsReader(const char* text, uint32_t length);

    const char* m_text;
    uint32_t m_length;
};

// A reader over a text that already lies in memory and outlives the reader (not owned).
// A null text makes an empty reader, whose every getter returns its default.
class CParamsText : public CParamsReader {
public:
    CParamsText(const char* text, uint32_t length);

    uint8_t GetBool(const char16_t* section, const char16_t* key, uint8_t defaultValue) const override;
    uint8_t GetU8(const char16_t* section, const char16_t* key, uint8_t defaultValue) const override;
    uint16_t GetU16(const char16_t* section, const char16_t* key, uint16_t defaultValue) const override;
    uint32_t GetU32(const char16_t* section, const char16_t* key, uint32_t defaultValue) const override;
    double GetFloat(const char16_t* section, const char16_t* key, float defaultValue) const override;
    double GetDouble(const char16_t* section, const char16_t* key, double defaultValue) const override;
    Result GetString(const char16_t* section, const char16_t* key, const char16_t* defaultValue, char16_t* out,
                     uint32_t maxUnits) const override;
    Result GetPath(const char16_t* section, const char16_t* key, const char16_t* defaultValue, char16_t* out,
                   uint32_t maxUnits, const char16_t* prefix) const override;

    // Finds the first key line of the first section line of that name, before the next line that
    // begins with '['. line receives it (kParamsLineUnits units); equalsIndex the position of '='.
    // A last line not followed by NUL, LF or CR is never examined.
    virtual bool FindValue(const char* text, uint32_t length, const char16_t* section, const char16_t* key,
                           uint32_t* equalsIndex, char16_t* line) const;

private:
    // Finds the key and copies its value (kParamsValueUnits units) into value.
    bool FindKeyValue(const char16_t* section, const char16_t* key, char16_t* value) const;
    // The value as an integer, false when the key is missing or its value empty.
    bool FindInteger(const char16_t* section, const char16_t* key, int32_t* number) const;
    bool FindDouble(const char16_t* section, const char16_t* key, double* number) const;
};

// A reader over the whole text of one pak entry, read at construction into a block it owns.
// A missing or empty entry, lack of memory or a short read leave an empty reader, silently.
class CPackedParams : public CParamsText {
public:
    CPackedParams(const char16_t* entryName, PackerLookup lookup, CPackerFile* pak);

private:
    std::unique_ptr<char[]> m_block;
};
