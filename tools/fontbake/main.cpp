#include "tools/FontBake.h"

#include <cstdio>

int main(int argc, char** argv)
{
    return RunFontBake(argc, argv, stdout, stderr);
}
