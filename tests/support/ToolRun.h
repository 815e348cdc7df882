#pragma once
#include <cstdio>
#include <string>
#include <vector>

// A command line tool's entry point: argc, argv, output and error streams; returns the exit code.
using ToolMain = int (*)(int argc, const char* const* argv, FILE* out, FILE* err);

// Runs the tool with argv[0] = name and the arguments, catching what it prints.
int RunTool(ToolMain tool, const char* name, std::vector<const char*> args, std::string* out, std::string* err);
