#pragma once
#include <cstdio>
#include <string>

#include "base/Result.h"

// The data builder: from a source tree, the main pak "<APP>_full_Win32.pak", the external pak
// "<APP>_external_Win32.pak" from an optional second tree, and the disk files beside them.
//
// A source tree holds:
//   construction.yaml       the construction: application name, levels, tooltips, labels,
//                           timer, layered menus, menu dialog, stars, hint, tutorial table,
//                           sound names, charset font, developer switches
//   any other .yaml file    a level or tooltip file that construction.yaml names
//   strings/<lang>/<name>.txt  string tables, UTF-8, one string per line ("main": main section)
//   disk/...                files copied beside the paks (sounds, music, splash pictures)
//   every other file        packed as it is, under its path (pictures, meshes, fonts, settings)
// The raw files (construction, tutorial, menus, levels, tooltips, labels, timer, blank
// profile) go into "_raw.full.Win32/"; the meshes that the YAML files name are packed under the
// names the game loads. An external tree gives its string tables and its other files.
//
// Nothing is written unless the whole source reads: RES_FAIL with *error "file:line: message".
Result BuildGameData(const std::string& source, const std::string& output, const std::string& external,
                     std::string* error);

// The command line "SOURCE OUTPUT [EXTERNAL]". Returns the process exit code: 0 done, 1 failed,
// 2 bad usage.
int RunDataBuilder(int argc, const char* const* argv, FILE* out, FILE* err);
