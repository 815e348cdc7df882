#pragma once
#include <cstdint>

// A kind of hidden-object scene part: its two-letter code (used in configuration keys and the
// developer overlay) and the names of its tooltip sections.
struct CScenePartKind {
    char code[4];
    uint32_t kind;  // the row number
    char name[32];
    char onName[32];
};

constexpr uint32_t kScenePartKindCount = 14;
// Kinds 0 to 3 (extra, hidden, collection and bonus objects) have per-level time-attack keys.
constexpr uint32_t kTimedPartKindCount = 4;

extern const CScenePartKind kScenePartKinds[kScenePartKindCount];
