#pragma once
#include <string>

// Turns a UTF-16 URL into the 8-bit form sent on the wire: UTF-8, with spaces, control
// characters and non-ASCII bytes percent-encoded and every other character left as it is.
// Fails (false, encoded emptied) for a null URL or a scheme other than http or https.
bool InternetEncodeUrl(const char16_t* url, std::string& encoded);
