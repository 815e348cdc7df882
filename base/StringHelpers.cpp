#include "base/StringHelpers.h"

#include "base/WideString.h"

size_t StrLen8(const char* s)
{
    size_t n = 0;
    while (s && s[n])
        ++n;
    return n;
}

char16_t* CutAtLastChar(char16_t* s, char16_t unit)
{
    if (!s)
        return nullptr;
    char16_t* last = nullptr;
    for (char16_t* p = s; *p; ++p) {
        if (*p == unit)
            last = p;
    }
    if (last)
        *last = 0;
    return last;
}

const char16_t* GetFileExtension(const char16_t* path)
{
    static const char16_t kEmpty[] = u"";
    if (!path)
        return kEmpty;
    const char16_t* dot = nullptr;
    for (const char16_t* p = path; *p; ++p) {
        if (*p == u'.')
            dot = p;
    }
    return dot ? dot : kEmpty;
}

const char16_t* GetFileNamePart(const char16_t* path)
{
    if (!path)
        return nullptr;
    const char16_t* backslash = nullptr;
    const char16_t* slash = nullptr;
    for (const char16_t* p = path; *p; ++p) {
        if (*p == u'\\')
            backslash = p;
        else if (*p == u'/')
            slash = p;
    }
    if (backslash)
        return backslash + 1;
    if (slash)
        return slash + 1;
    return path;
}

char16_t* GetFileNamePart(char16_t* path)
{
    return const_cast<char16_t*>(GetFileNamePart(static_cast<const char16_t*>(path)));
}

bool EqualNoCase(const char16_t* a, const char16_t* b)
{
    a = a ? a : u"";
    b = b ? b : u"";
    auto fold = [](char16_t c) -> char16_t { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; };
    for (;; ++a, ++b) {
        if (fold(*a) != fold(*b))
            return false;
        if (!*a)
            return true;
    }
}

void InvertString(char16_t* s)
{
    for (; s && *s; ++s)
        *s = static_cast<char16_t>(~*s);
}

uint32_t ReplaceChar(char16_t* s, char16_t from, char16_t to)
{
    uint32_t n = 0;
    for (; s && *s; ++s) {
        if (*s == from) {
            *s = to;
            ++n;
        }
    }
    return n;
}

uint32_t CountChar(const char16_t* s, char16_t unit)
{
    uint32_t n = 0;
    for (; s && *s; ++s) {
        if (*s == unit)
            ++n;
    }
    return n;
}

void NarrowString(const char16_t* in, char* out, size_t capacity)
{
    if (!out || capacity == 0)
        return;
    size_t i = 0;
    for (; in && in[i] && i + 1 < capacity; ++i)
        out[i] = static_cast<char>(in[i] & 0xFF);
    out[i] = 0;
}

void WidenString(const char* in, char16_t* out, size_t capacity)
{
    if (!out || capacity == 0)
        return;
    size_t i = 0;
    for (; in && in[i] && i + 1 < capacity; ++i)
        out[i] = static_cast<char16_t>(static_cast<int16_t>(static_cast<signed char>(in[i])));
    out[i] = 0;
}

namespace {

const char16_t* LastSeparator(const char16_t* path)
{
    const char16_t* last = nullptr;
    for (const char16_t* p = path; p && *p; ++p) {
        if (*p == u'\\' || *p == u'/')
            last = p;
    }
    return last;
}

} // namespace

void SplitPath(const char16_t* path, char16_t* folder, size_t folderCapacity, char16_t* name, size_t nameCapacity)
{
    const char16_t* separator = LastSeparator(path);
    size_t folderLength = separator ? static_cast<size_t>(separator - path) + 1 : 0;
    if (folder)
        WStrCopy(folder, folderLength + 1 < folderCapacity ? folderLength + 1 : folderCapacity, path ? path : u"");
    if (name)
        WStrCopy(name, nameCapacity, path ? path + folderLength : u"");
}

void SplitExtension(const char16_t* name, char16_t* base, size_t baseCapacity, char16_t* extension, size_t extensionCapacity)
{
    const char16_t* dot = GetFileExtension(name);
    size_t baseLength = *dot ? static_cast<size_t>(dot - name) : WStrLen(name);
    if (base)
        WStrCopy(base, baseLength + 1 < baseCapacity ? baseLength + 1 : baseCapacity, name ? name : u"");
    if (extension)
        WStrCopy(extension, extensionCapacity, dot);
}
