#include <cstdio>

#include "tools/samplegen/SampleGen.h"

int main(int argc, char** argv)
{
    return RunSampleGen(argc, argv, stdout, stderr);
}
