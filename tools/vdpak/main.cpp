#include "tools/PakTool.h"

#include <cstdio>

int main(int argc, char** argv)
{
    return RunPakTool(argc, argv, stdout, stderr);
}
