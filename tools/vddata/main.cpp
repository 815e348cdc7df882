#include <cstdio>

#include "tools/vddata/DataBuilder.h"

int main(int argc, char** argv)
{
    return RunDataBuilder(argc, argv, stdout, stderr);
}
