#pragma once
#include <cstdint>

// Our own WinINet-shaped HTTP access: a session, a URL opened in it, reads of the answer, and
// closing. Everything is synchronous and belongs to the thread that uses the session.

struct CInternetHandle;
using HINTERNET = CInternetHandle*;

// Proxy settings of the environment (http_proxy, https_proxy, no_proxy); the only access type.
constexpr uint32_t INTERNET_OPEN_TYPE_PRECONFIG = 0;
// Always fetch from the server; there is no cache, so every request does.
constexpr uint32_t INTERNET_FLAG_RELOAD = 0x80000000u;

constexpr uint32_t kInternetDefaultConnectTimeoutMs = 5000;
constexpr uint32_t kInternetDefaultTotalTimeoutMs = 15000;

// Opens a session whose requests carry agent as their User-Agent (none when null or empty).
// accessType must be INTERNET_OPEN_TYPE_PRECONFIG, proxy and proxyBypass null, flags 0.
HINTERNET InternetOpenW(const char16_t* agent, uint32_t accessType, const char16_t* proxy,
                        const char16_t* proxyBypass, uint32_t flags);

// Sends a GET for url (http or https; spaces, control characters and non-ASCII characters
// percent-encoded) and returns once the final answer's headers are in, following at most 10
// redirects. An error status is an answer: its body is read as any other. Null when nothing was
// answered: bad scheme, refused or failed connection, timeout, too many redirects. headers must be
// null and headersLength 0; flags 0 or INTERNET_FLAG_RELOAD; context is not used.
HINTERNET InternetOpenUrlW(HINTERNET session, const char16_t* url, const char16_t* headers,
                           uint32_t headersLength, uint32_t flags, uintptr_t context);

// Reads up to toRead bytes of the answer's body into buffer, waiting until that many have come or
// the body has ended; *read = 0 once it is over. False when the connection fails or times out
// before then, or for a handle that is not an open URL.
bool InternetReadFile(HINTERNET file, void* buffer, uint32_t toRead, uint32_t* read);

// The status of an opened URL's final answer, the one query answered: infoLevel must be
// HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, buffer a uint32_t and *length at least its size
// (set to it); index must be null. False otherwise, or for a handle that is not an open URL.
constexpr uint32_t HTTP_QUERY_STATUS_CODE = 19;
constexpr uint32_t HTTP_QUERY_FLAG_NUMBER = 0x20000000u;
bool HttpQueryInfoW(HINTERNET file, uint32_t infoLevel, void* buffer, uint32_t* length, uint32_t* index);

// Closes a URL or a session; closing a session closes the URLs opened in it. False for a handle
// that is not open.
bool InternetCloseHandle(HINTERNET handle);

// Timeouts of the URLs opened from now on, in milliseconds: to connect, and for the whole request
// from opening to the last read. 0 restores the default.
void InternetSetTimeouts(uint32_t connectTimeoutMs, uint32_t totalTimeoutMs);
