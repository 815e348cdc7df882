#include "tools/samplegen/SampleGen.h"

#include <string>

#include "tools/samplegen/SamplePictures.h"
#include "tools/samplegen/SampleSounds.h"

int RunSampleGen(int argc, const char* const* argv, FILE* out, FILE* err)
{
    if (argc != 2) {
        fprintf(err, "usage: vdsamplegen FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::string error;
    if (Failed(WritePictures(folder, &error)) || Failed(WriteSounds(folder + "/disk/sounds", &error))) {
        fprintf(err, "vdsamplegen: %s\n", error.c_str());
        return 1;
    }
    fprintf(out, "vdsamplegen: pictures and sounds written into %s\n", folder.c_str());
    return 0;
}
