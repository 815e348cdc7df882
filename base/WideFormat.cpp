#include "base/WideFormat.h"

#include "base/WideString.h"

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

struct Field {
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

// Builds the 8-bit conversion that snprintf understands for a numeric field.
void BuildNarrowFormat(const Field& field, const char* lengthPrefix, char conversion, char* out, size_t size)
{
    char flags[8];
    size_t n = 0;
    if (field.leftAlign) flags[n++] = '-';
    if (field.plus) flags[n++] = '+';
    if (field.space) flags[n++] = ' ';
    if (field.alternate) flags[n++] = '#';
    if (field.zeroPad) flags[n++] = '0';
    flags[n] = 0;
    if (field.precision >= 0)
        snprintf(out, size, "%%%s%d.%d%s%c", flags, field.width, field.precision, lengthPrefix, conversion);
    else
        snprintf(out, size, "%%%s%d%s%c", flags, field.width, lengthPrefix, conversion);
}

template <typename T>
void WriteNumber(BoundedWriter& out, const Field& field, const char* lengthPrefix, char conversion, T value)
{
    char format[32];
    BuildNarrowFormat(field, lengthPrefix, conversion, format, sizeof(format));
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
void WriteText(BoundedWriter& out, const Field& field, const Unit* text, size_t length)
{
    if (field.precision >= 0 && static_cast<size_t>(field.precision) < length)
        length = static_cast<size_t>(field.precision);
    int pad = field.width > static_cast<int>(length) ? field.width - static_cast<int>(length) : 0;
    if (!field.leftAlign)
        out.Repeat(field.zeroPad ? u'0' : u' ', pad);
    for (size_t i = 0; i < length; ++i) {
        if constexpr (sizeof(Unit) == 1)
            out.Put(static_cast<unsigned char>(text[i]));
        else
            out.Put(text[i]);
    }
    if (field.leftAlign)
        out.Repeat(u' ', pad);
}

void WriteWide(BoundedWriter& out, const Field& field, const char16_t* text)
{
    if (!text)
        text = u"(null)";
    size_t length = 0;
    // Stop at the precision: the text need not be terminated beyond it.
    while (text[length] && (field.precision < 0 || length < static_cast<size_t>(field.precision)))
        ++length;
    WriteText(out, field, text, length);
}

void WriteNarrow(BoundedWriter& out, const Field& field, const char* text)
{
    if (!text)
        text = "(null)";
    size_t length = 0;
    while (text[length] && (field.precision < 0 || length < static_cast<size_t>(field.precision)))
        ++length;
    WriteText(out, field, text, length);
}

const char16_t* ParseSpec(const char16_t* p, Field& field, va_list& args)
{
    for (;; ++p) {
        if (*p == u'-') field.leftAlign = true;
        else if (*p == u'+') field.plus = true;
        else if (*p == u' ') field.space = true;
        else if (*p == u'#') field.alternate = true;
        else if (*p == u'0') field.zeroPad = true;
        else break;
    }
    if (*p == u'*') {
        field.width = va_arg(args, int);
        if (field.width < 0) {
            field.leftAlign = true;
            field.width = -field.width;
        }
        ++p;
    } else {
        while (*p >= u'0' && *p <= u'9')
            field.width = field.width < 100000 ? field.width * 10 + (*p++ - u'0') : (++p, field.width);
    }
    if (*p == u'.') {
        ++p;
        field.precision = 0;
        if (*p == u'*') {
            field.precision = va_arg(args, int);
            ++p;
        } else {
            while (*p >= u'0' && *p <= u'9')
                field.precision = field.precision < 100000 ? field.precision * 10 + (*p++ - u'0') : (++p, field.precision);
        }
    }
    if (p[0] == u'h' && p[1] == u'h') { field.length = Length::Char; p += 2; }
    else if (p[0] == u'h') { field.length = Length::Short; ++p; }
    else if (p[0] == u'l' && p[1] == u'l') { field.length = Length::LongLong; p += 2; }
    else if (p[0] == u'l' || p[0] == u'w') { field.length = Length::Long; ++p; }
    else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') { field.length = Length::LongLong; p += 3; }
    else if (p[0] == u'I' && p[1] == u'3' && p[2] == u'2') { field.length = Length::None; p += 3; }
    else if (p[0] == u'I' || p[0] == u'z') { field.length = Length::Size; ++p; }
    else if (p[0] == u'L') { field.length = Length::LongDouble; ++p; }
    field.conversion = *p;
    return *p ? p + 1 : p;
}

void WriteSigned(BoundedWriter& out, const Field& field, va_list& args)
{
    switch (field.length) {
    case Length::LongLong: WriteNumber(out, field, "ll", 'd', va_arg(args, long long)); break;
    case Length::Size: WriteNumber(out, field, "ll", 'd', static_cast<long long>(va_arg(args, ptrdiff_t))); break;
    case Length::Short: WriteNumber(out, field, "", 'd', static_cast<int>(static_cast<short>(va_arg(args, int)))); break;
    case Length::Char: WriteNumber(out, field, "", 'd', static_cast<int>(static_cast<signed char>(va_arg(args, int)))); break;
    // Windows' long is 32 bits wide, and so are the arguments passed with %ld.
    default: WriteNumber(out, field, "", 'd', va_arg(args, int)); break;
    }
}

void WriteUnsigned(BoundedWriter& out, const Field& field, char conversion, va_list& args)
{
    switch (field.length) {
    case Length::LongLong: WriteNumber(out, field, "ll", conversion, va_arg(args, unsigned long long)); break;
    case Length::Size: WriteNumber(out, field, "ll", conversion, static_cast<unsigned long long>(va_arg(args, size_t))); break;
    case Length::Short: WriteNumber(out, field, "", conversion, static_cast<unsigned>(static_cast<unsigned short>(va_arg(args, unsigned)))); break;
    case Length::Char: WriteNumber(out, field, "", conversion, static_cast<unsigned>(static_cast<unsigned char>(va_arg(args, unsigned)))); break;
    default: WriteNumber(out, field, "", conversion, va_arg(args, unsigned)); break;
    }
}

void WriteConversion(BoundedWriter& out, Field& field, va_list& args)
{
    switch (field.conversion) {
    case u'd':
    case u'i':
        WriteSigned(out, field, args);
        break;
    case u'u': case u'o': case u'x': case u'X':
        WriteUnsigned(out, field, static_cast<char>(field.conversion), args);
        break;
    case u'f': case u'F': case u'e': case u'E': case u'g': case u'G': case u'a': case u'A':
        if (field.length == Length::LongDouble)
            WriteNumber(out, field, "L", static_cast<char>(field.conversion), va_arg(args, long double));
        else
            WriteNumber(out, field, "", static_cast<char>(field.conversion), va_arg(args, double));
        break;
    case u'p': {
        Field hex = field;
        hex.zeroPad = true;
        hex.width = static_cast<int>(sizeof(void*) * 2);
        WriteNumber(out, hex, "ll", 'X', static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(args, void*))));
        break;
    }
    case u'c': {
        int unit = va_arg(args, int);
        char16_t wide = field.length == Length::Short ? static_cast<char16_t>(static_cast<unsigned char>(unit))
                                                     : static_cast<char16_t>(unit);
        WriteText(out, field, &wide, 1);
        break;
    }
    case u'C': {
        int unit = va_arg(args, int);
        char16_t wide = field.length == Length::Long ? static_cast<char16_t>(unit)
                                                    : static_cast<char16_t>(static_cast<unsigned char>(unit));
        WriteText(out, field, &wide, 1);
        break;
    }
    case u's':
        if (field.length == Length::Short)
            WriteNarrow(out, field, va_arg(args, const char*));
        else
            WriteWide(out, field, va_arg(args, const char16_t*));
        break;
    case u'S':
        if (field.length == Length::Long)
            WriteWide(out, field, va_arg(args, const char16_t*));
        else
            WriteNarrow(out, field, va_arg(args, const char*));
        break;
    case u'%':
        out.Put(u'%');
        break;
    default:
        // Unknown conversions are written as they stand, with no argument consumed.
        out.Put(u'%');
        if (field.conversion)
            out.Put(field.conversion);
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
        Field field;
        p = ParseSpec(p + 1, field, cursor);
        WriteConversion(out, field, cursor);
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
