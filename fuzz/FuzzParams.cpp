#include "fuzz/FuzzParams.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/ParamsReader.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr size_t kMaxNames = 4;
constexpr size_t kMaxNameUnits = 32;
constexpr uint32_t kShortBound = 5;

void AddName(std::vector<std::u16string>& names, std::u16string name)
{
    if (!name.empty() && names.size() < kMaxNames && std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(std::move(name));
}

// "[name]" lines give sections, "key =" lines keys; blanks and '[' do not count, as for the reader.
void CollectNames(const uint8_t* text, size_t size, std::vector<std::u16string>& sections,
                  std::vector<std::u16string>& keys)
{
    std::u16string name;
    bool section = false;
    for (size_t i = 0; i < size; ++i) {
        const char16_t c = text[i];
        if (c == u'\n' || c == u'\r' || c == 0) {
            name.clear();
            section = false;
        } else if (c == u'[') {
            section = true;
        } else if (c == u']' && section) {
            AddName(sections, name);
        } else if (c == u'=' && !section) {
            AddName(keys, name);
        } else if (c != u' ' && c != u'\t' && name.size() < kMaxNameUnits) {
            name += c;
        }
    }
    sections.push_back(u"-");
    keys.push_back(u"-");
}

template <typename T>
void Append(std::u16string& answers, const T& value)
{
    char16_t units[(sizeof(T) + 1) / 2] = {};
    memcpy(units, &value, sizeof(T));
    answers.append(units, sizeof units / sizeof units[0]);
}

// A string answer into a block of exactly maxUnits units, which must hold its terminator.
std::u16string Bounded(uint32_t maxUnits, bool path, const CParamsReader& reader, const char16_t* section,
                       const char16_t* key, Result* result)
{
    std::vector<char16_t> out(maxUnits, u'#');
    *result = path ? reader.GetPath(section, key, u"default", out.data(), maxUnits, u"prefix/")
                   : reader.GetString(section, key, u"default", out.data(), maxUnits);
    const auto end = std::find(out.begin(), out.end(), u'\0');
    FUZZ_CHECK(end != out.end());
    return std::u16string(out.begin(), end);
}

void AskStrings(std::u16string& answers, bool path, const CParamsReader& reader, const char16_t* section,
                const char16_t* key)
{
    Result longResult = RES_OK;
    Result shortResult = RES_OK;
    const std::u16string whole = Bounded(kParamsValueUnits + 8, path, reader, section, key, &longResult);
    const std::u16string cut = Bounded(kShortBound, path, reader, section, key, &shortResult);
    FUZZ_CHECK(longResult == shortResult);
    FUZZ_CHECK(cut == whole.substr(0, kShortBound - 1));
    Append(answers, longResult);
    answers += whole;
}

} // namespace

std::u16string AskParams(const CParamsReader& reader, const uint8_t* text, size_t size)
{
    std::vector<std::u16string> sections;
    std::vector<std::u16string> keys;
    CollectNames(text, size, sections, keys);
    std::u16string answers;
    for (const std::u16string& section : sections) {
        for (const std::u16string& key : keys) {
            const char16_t* s = section.c_str();
            const char16_t* k = key.c_str();
            Append(answers, reader.GetBool(s, k, 7));
            Append(answers, reader.GetU8(s, k, 7));
            Append(answers, reader.GetU16(s, k, 7));
            Append(answers, reader.GetU32(s, k, 7));
            Append(answers, reader.GetFloat(s, k, 7.0f));
            Append(answers, reader.GetDouble(s, k, 7.0));
            AskStrings(answers, false, reader, s, k);
            AskStrings(answers, true, reader, s, k);
        }
    }
    return answers;
}
