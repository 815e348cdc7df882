#include "tests/support/ToolRun.h"

namespace {

std::string Contents(FILE* file)
{
    std::string text;
    rewind(file);
    for (int c; (c = fgetc(file)) != EOF;)
        text.push_back(static_cast<char>(c));
    return text;
}

} // namespace

int RunTool(ToolMain tool, const char* name, std::vector<const char*> args, std::string* out, std::string* err)
{
    args.insert(args.begin(), name);
    FILE* outFile = tmpfile();
    FILE* errFile = tmpfile();
    const int code = tool(static_cast<int>(args.size()), args.data(), outFile, errFile);
    *out = Contents(outFile);
    *err = Contents(errFile);
    fclose(outFile);
    fclose(errFile);
    return code;
}
