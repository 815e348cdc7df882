#pragma once

#include <string>
#include <utility>
#include <vector>

// The seed files of one harness: file name and bytes.
using FuzzSeeds = std::vector<std::pair<std::string, std::string>>;
using FuzzSeedMaker = FuzzSeeds (*)();

// Registers a harness's maker at start-up; the seed program writes what each returns into a
// folder named after the harness.
struct CSeedRegistration {
    CSeedRegistration(const char* harness, FuzzSeedMaker maker);
};

// Defines the seed maker of the harness <harness>Fuzz.cpp: FUZZ_SEEDS(Png) { return {...}; }
#define FUZZ_SEEDS(harness)                                                         \
    static FuzzSeeds harness##Seeds();                                              \
    static const CSeedRegistration harness##SeedRegistration(#harness, harness##Seeds); \
    static FuzzSeeds harness##Seeds()

// Every regular file of the folder whose name ends in one of the suffixes (any letter case) and
// that holds at most maxBytes, under its own name; none when the folder is missing.
FuzzSeeds SystemSamples(const std::string& folder, const std::vector<std::string>& suffixes, size_t maxBytes);
