#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "base/Result.h"

// The commands of the vdpak tool. Each returns RES_OK, or RES_FAIL with *error set.

// Packs each input into a new pak: a folder gives every file below it, named by its path inside
// the folder with '/' separators; a file gives one entry named by its file name.
Result PackInputs(const std::string& pakPath, const std::vector<std::string>& inputs, std::string* error);

// One line per entry in chain order: the data size, two spaces, the name. A truncated pak lists
// the entries before the damage and fails.
Result ListPak(const std::string& pakPath, std::string* listing, std::string* error);

// Writes every entry, or only the named ones (any letter case), below folder, creating sub-folders.
// A name that would leave the folder (absolute, or with a ".." segment) is refused.
Result ExtractPak(const std::string& pakPath, const std::string& folder, const std::vector<std::string>& names,
                  std::string* error);

// The command line: "pack PAK INPUT...", "list PAK", "extract PAK FOLDER [NAME...]".
// Returns the process exit code: 0 done, 1 failed, 2 bad usage.
int RunPakTool(int argc, const char* const* argv, FILE* out, FILE* err);
