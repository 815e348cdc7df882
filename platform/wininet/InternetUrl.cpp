#include "platform/wininet/InternetUrl.h"

#include "base/WideString.h"

#include <strings.h>

namespace {

bool NeedsEncoding(unsigned char byte)
{
    return byte <= 0x20 || byte >= 0x7F;
}

bool HasPrefixNoCase(const std::string& text, const char* prefix)
{
    size_t length = std::char_traits<char>::length(prefix);
    return text.size() >= length && strncasecmp(text.c_str(), prefix, length) == 0;
}

} // namespace

bool InternetEncodeUrl(const char16_t* url, std::string& encoded)
{
    static const char kHex[] = "0123456789ABCDEF";
    encoded.clear();
    if (!url)
        return false;
    for (unsigned char byte : Utf16ToUtf8(url)) {
        if (NeedsEncoding(byte)) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        } else {
            encoded += static_cast<char>(byte);
        }
    }
    if (HasPrefixNoCase(encoded, "http://") || HasPrefixNoCase(encoded, "https://"))
        return true;
    encoded.clear();
    return false;
}
