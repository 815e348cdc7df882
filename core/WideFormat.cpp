#include "core/WideFormat.h"

#include "core/WideString.h"

#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <locale.h>

namespace {

class BoundedWriter {
public:
    BoundedWriter(char16_t* buffer, size_t capacity) : m_buffer(buffer), m_capacity(capacity) {}

    void Put(char16_t unit)
    {
        if (m_buffer && m_length + 1 < m_capacity)
            m_buffer[m_length++] = unit;
    }
    void Repeat(char16_t unit, int count)
    {
        for (int i = 0; i < count; ++i)
            Put(unit);
    }
    size_t Finish()
    {
        if (m_buffer && m_capacity > 0)
            m_buffer[m_length] = 0;
        return m_length;
    }

private:
    char16_t* m_buffer;
    size_t m_capacity;
    size_t m_length = 0;
};

enum class Length { None, Short, Char, Long, LongLong, Size, LongDouble };

struct Spec {
    bool leftAlign = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zeroPad = false;
    int width = 0;
    int precision = -1;
    Length length = Length::None;
    char16_t conversion = 0;
};

// Number formatting goes through snprintf in the "C" locale, whatever the process locale is.
locale_t CLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Builds the 8-bit conversion that snprintf understands for a numeric spec.
void BuildNarrowFormat(const Spec& spec, const char* lengthPrefix, char conversion, char* out, size_t size)
{
    char flags[8];
    size_t n = 0;
    if (spec.leftAlign) flags[n++] = '-';
    if (spec.plus) flags[n++] = '+';
    if (spec.space) flags[n++] = ' ';
    if (spec.alternate) flags[n++] = '#';
    if (spec.zeroPad) flags[n++] = '0';
    flags[n] = 0;
    if (spec.precision >= 0)
        snprintf(out, size, "%%%s%d.%d%s%c", flags, spec.width, spec.precision, lengthPrefix, conversion);
    else
        snprintf(out, size, "%%%s%d%s%c", flags, spec.width, lengthPrefix, conversion);
}

template <typename T>
void WriteNumber(BoundedWriter& out, const Spec& spec, const char* lengthPrefix, char conversion, T value)
{
    char format[32];
    BuildNarrowFormat(spec, lengthPrefix, conversion, format, sizeof(format));
    char text[512];
    locale_t previous = uselocale(CLocale());
    int written = snprintf(text, sizeof(text), format, value);
    uselocale(previous);
    if (written < 0)
        return;
    size_t count = static_cast<size_t>(written) < sizeof(text) ? static_cast<size_t>(written) : sizeof(text) - 1;
    for (size_t i = 0; i < count; ++i)
        out.Put(static_cast<unsigned char>(text[i]));
}

template <typename Unit>
void WriteText(BoundedWriter& out, const Spec& spec, const Unit* text, size_t length)
{
    if (spec.precision >= 0 && static_cast<size_t>(spec.precision) < length)
        length = static_cast<size_t>(spec.precision);
    int pad = spec.width > static_cast<int>(length) ? spec.width - static_cast<int>(length) : 0;
    if (!spec.leftAlign)
        out.Repeat(spec.zeroPad ? u'0' : u' ', pad);
    for (size_t i = 0; i < length; ++i) {
        if constexpr (sizeof(Unit) == 1)
            out.Put(static_cast<unsigned char>(text[i]));
        else
            out.Put(text[i]);
    }
    if (spec.leftAlign)
        out.Repeat(u' ', pad);
}

void WriteWide(BoundedWriter& out, const Spec& spec, const char16_t* text)
{
    if (!text)
        text = u"(null)";
    size_t length = 0;
    // Stop at the precision: the text need not be terminated beyond it.
    while (text[length] && (spec.precision < 0 || length < static_cast<size_t>(spec.precision)))
        ++length;
    WriteText(out, spec, text, length);
}

void WriteNarrow(BoundedWriter& out, const Spec& spec, const char* text)
{
    if (!text)
        text = "(null)";
    size_t length = 0;
    while (text[length] && (spec.precision < 0 || length < static_cast<size_t>(spec.precision)))
        ++length;
    WriteText(out, spec, text, length);
}

const char16_t* ParseSpec(const char16_t* p, Spec& spec, va_list& args)
{
    for (;; ++p) {
        if (*p == u'-') spec.leftAlign = true;
        else if (*p == u'+') spec.plus = true;
        else if (*p == u' ') spec.space = true;
        else if (*p == u'#') spec.alternate = true;
        else if (*p == u'0') spec.zeroPad = true;
        else break;
    }
    if (*p == u'*') {
        spec.width = va_arg(args, int);
        if (spec.width < 0) {
            spec.leftAlign = true;
            spec.width = -spec.width;
        }
        ++p;
    } else {
        while (*p >= u'0' && *p <= u'9')
            spec.width = spec.width < 100000 ? spec.width * 10 + (*p++ - u'0') : (++p, spec.width);
    }
    if (*p == u'.') {
        ++p;
        spec.precision = 0;
        if (*p == u'*') {
            spec.precision = va_arg(args, int);
            ++p;
        } else {
            while (*p >= u'0' && *p <= u'9')
                spec.precision = spec.precision < 100000 ? spec.precision * 10 + (*p++ - u'0') : (++p, spec.precision);
        }
    }
    if (p[0] == u'h' && p[1] == u'h') { spec.length = Length::Char; p += 2; }
    else if (p[0] == u'h') { spec.length = Length::Short; ++p; }
    else if (p[0] == u'l' && p[1] == u'l') { spec.length = Length::LongLong; p += 2; }
    else if (p[0] == u'l' || p[0] == u'w') { spec.length = Length::Long; ++p; }
    else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') { spec.length = Length::LongLong; p += 3; }
    else if (p[0] == u'I' && p[1] == u'3' && p[2] == u'2') { spec.length = Length::None; p += 3; }
    else if (p[0] == u'I' || p[0] == u'z') { spec.length = Length::Size; ++p; }
    else if (p[0] == u'L') { spec.length = Length::LongDouble; ++p; }
    spec.conversion = *p;
    return *p ? p + 1 : p;
}

void WriteSigned(BoundedWriter& out, const Spec& spec, va_list& args)
{
    switch (spec.length) {
    case Length::LongLong: WriteNumber(out, spec, "ll", 'd', va_arg(args, long long)); break;
    case Length::Size: WriteNumber(out, spec, "ll", 'd', static_cast<long long>(va_arg(args, ptrdiff_t))); break;
    case Length::Short: WriteNumber(out, spec, "", 'd', static_cast<int>(static_cast<short>(va_arg(args, int)))); break;
    case Length::Char: WriteNumber(out, spec, "", 'd', static_cast<int>(static_cast<signed char>(va_arg(args, int)))); break;
    // Windows' long is 32 bits wide, and so are the arguments passed with %ld.
    default: WriteNumber(out, spec, "", 'd', va_arg(args, int)); break;
    }
}

void WriteUnsigned(BoundedWriter& out, const Spec& spec, char conversion, va_list& args)
{
    switch (spec.length) {
    case Length::LongLong: WriteNumber(out, spec, "ll", conversion, va_arg(args, unsigned long long)); break;
    case Length::Size: WriteNumber(out, spec, "ll", conversion, static_cast<unsigned long long>(va_arg(args, size_t))); break;
    case Length::Short: WriteNumber(out, spec, "", conversion, static_cast<unsigned>(static_cast<unsigned short>(va_arg(args, unsigned)))); break;
    case Length::Char: WriteNumber(out, spec, "", conversion, static_cast<unsigned>(static_cast<unsigned char>(va_arg(args, unsigned)))); break;
    default: WriteNumber(out, spec, "", conversion, va_arg(args, unsigned)); break;
    }
}

void WriteConversion(BoundedWriter& out, Spec& spec, va_list& args)
{
    switch (spec.conversion) {
    case u'd':
    case u'i':
        WriteSigned(out, spec, args);
        break;
    case u'u': case u'o': case u'x': case u'X':
        WriteUnsigned(out, spec, static_cast<char>(spec.conversion), args);
        break;
    case u'f': case u'F': case u'e': case u'E': case u'g': case u'G': case u'a': case u'A':
        if (spec.length == Length::LongDouble)
            WriteNumber(out, spec, "L", static_cast<char>(spec.conversion), va_arg(args, long double));
        else
            WriteNumber(out, spec, "", static_cast<char>(spec.conversion), va_arg(args, double));
        break;
    case u'p': {
        Spec hex = spec;
        hex.zeroPad = true;
        hex.width = static_cast<int>(sizeof(void*) * 2);
        WriteNumber(out, hex, "ll", 'X', static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(args, void*))));
        break;
    }
    case u'c': {
        int unit = va_arg(args, int);
        char16_t wide = spec.length == Length::Short ? static_cast<char16_t>(static_cast<unsigned char>(unit))
                                                     : static_cast<char16_t>(unit);
        WriteText(out, spec, &wide, 1);
        break;
    }
    case u'C': {
        int unit = va_arg(args, int);
        char16_t wide = spec.length == Length::Long ? static_cast<char16_t>(unit)
                                                    : static_cast<char16_t>(static_cast<unsigned char>(unit));
        WriteText(out, spec, &wide, 1);
        break;
    }
    case u's':
        if (spec.length == Length::Short)
            WriteNarrow(out, spec, va_arg(args, const char*));
        else
            WriteWide(out, spec, va_arg(args, const char16_t*));
        break;
    case u'S':
        if (spec.length == Length::Long)
            WriteWide(out, spec, va_arg(args, const char16_t*));
        else
            WriteNarrow(out, spec, va_arg(args, const char*));
        break;
    case u'%':
        out.Put(u'%');
        break;
    default:
        // Unknown conversions are written as they stand, with no argument consumed.
        out.Put(u'%');
        if (spec.conversion)
            out.Put(spec.conversion);
        break;
    }
}

} // namespace

size_t WFormatV(char16_t* buffer, size_t capacity, const char16_t* format, va_list args)
{
    BoundedWriter out(buffer, capacity);
    if (!format)
        return out.Finish();
    va_list cursor;
    va_copy(cursor, args);
    for (const char16_t* p = format; *p;) {
        if (*p != u'%') {
            out.Put(*p++);
            continue;
        }
        Spec spec;
        p = ParseSpec(p + 1, spec, cursor);
        WriteConversion(out, spec, cursor);
    }
    va_end(cursor);
    return out.Finish();
}

size_t WFormat(char16_t* buffer, size_t capacity, const char16_t* format, ...)
{
    va_list args;
    va_start(args, format);
    size_t n = WFormatV(buffer, capacity, format, args);
    va_end(args);
    return n;
}
