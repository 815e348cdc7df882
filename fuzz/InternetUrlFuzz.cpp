// URLs as the score client sends them: an http or https URL of any UTF-16 text goes out as its
// UTF-8 bytes with each blank, control and non-ASCII byte percent-encoded (upper-case hexadecimal)
// and every other byte as it is; any other URL is refused with nothing encoded.
// Input: UTF-16 units, little-endian, up to the first zero unit.

#include <cstring>
#include <string>
#include <strings.h>

#include "base/WideString.h"
#include "fuzz/FuzzSupport.h"
#include "platform/wininet/InternetUrl.h"

namespace {

bool IsPlainByte(unsigned char byte)
{
    return byte > 0x20 && byte < 0x7F;
}

bool HasHttpScheme(const std::string& text)
{
    return strncasecmp(text.c_str(), "http://", 7) == 0 || strncasecmp(text.c_str(), "https://", 8) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::u16string url;
    for (size_t i = 0; i + 1 < size; i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | data[i + 1] << 8);
        if (!unit)
            break;
        url += unit;
    }
    std::string encoded = "left over";
    const bool sent = InternetEncodeUrl(url.c_str(), encoded);
    const std::string utf8 = Utf16ToUtf8(url);
    FUZZ_CHECK(sent == HasHttpScheme(utf8));
    if (!sent) {
        FUZZ_CHECK(encoded.empty());
        return 0;
    }
    static const char kHex[] = "0123456789ABCDEF";
    size_t at = 0;
    for (unsigned char byte : utf8) {
        if (IsPlainByte(byte)) {
            FUZZ_CHECK(at < encoded.size() && static_cast<unsigned char>(encoded[at]) == byte);
            ++at;
        } else {
            const char escape[3] = {'%', kHex[byte >> 4], kHex[byte & 0x0F]};
            FUZZ_CHECK(encoded.compare(at, 3, escape, 3) == 0);
            at += 3;
        }
    }
    FUZZ_CHECK(at == encoded.size());
    FUZZ_CHECK(InternetEncodeUrl(nullptr, encoded) == false && encoded.empty());
    return 0;
}
