#pragma once
#include <curl/curl.h>

// The functions of libcurl this layer calls. The library is loaded, and its global state set up,
// on first use; the state is torn down at exit.
struct CCurlLibrary {
    bool ready = false;  // loaded whole and set up
    decltype(&::curl_global_init) globalInit = nullptr;
    decltype(&::curl_global_cleanup) globalCleanup = nullptr;
    decltype(&::curl_easy_init) easyInit = nullptr;
    decltype(&::curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&::curl_easy_setopt) easySetopt = nullptr;
    decltype(&::curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&::curl_easy_pause) easyPause = nullptr;
    decltype(&::curl_multi_init) multiInit = nullptr;
    decltype(&::curl_multi_cleanup) multiCleanup = nullptr;
    decltype(&::curl_multi_add_handle) multiAddHandle = nullptr;
    decltype(&::curl_multi_remove_handle) multiRemoveHandle = nullptr;
    decltype(&::curl_multi_perform) multiPerform = nullptr;
    decltype(&::curl_multi_info_read) multiInfoRead = nullptr;
    decltype(&::curl_multi_poll) multiPoll = nullptr;
};

// Loads libcurl on the first call; ready stays false when the library or one of its functions is
// missing (reported on standard error) or its set-up fails.
const CCurlLibrary& Curl();
