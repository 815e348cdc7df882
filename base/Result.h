#pragma once
#include <cstdint>

// Result codes: 0 is success, anything below zero is a failure. A result is never dropped
// unread.
enum [[nodiscard]] Result : int32_t {};

constexpr Result RES_OK = static_cast<Result>(0);
constexpr Result RES_FAIL = static_cast<Result>(0x80000001u);
constexpr Result RES_OUT_OF_MEMORY = static_cast<Result>(0x80000002u);
constexpr Result RES_NO_WINDOW = static_cast<Result>(0x80000006u);
constexpr Result RES_NO_DEVICE = static_cast<Result>(0x80000007u);
constexpr Result RES_UNKNOWN_KIND = static_cast<Result>(0x8100000au);
constexpr Result RES_MISSING_FILE = static_cast<Result>(0x8100000bu);
constexpr Result RES_NOT_POW2_FROM_FILE = static_cast<Result>(0x8100000cu);
constexpr Result RES_NOT_POW2_FROM_MEMORY = static_cast<Result>(0x8300000cu);
constexpr Result RES_PAK_NOT_OPENED = static_cast<Result>(0x8400000bu);
constexpr Result RES_PNG_NOT_CREATED = static_cast<Result>(0x8500000bu);

// A result its caller leaves unread on purpose.
constexpr void IgnoreResult(Result) {}

inline bool Failed(Result r) { return r < 0; }
inline bool Succeeded(Result r) { return r >= 0; }
