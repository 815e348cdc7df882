#include "tools/PakTool.h"

#include "tools/PakIndex.h"
#include "tools/PakWriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

Result Fail(std::string* error, const std::string& message)
{
    if (error)
        *error = message;
    return RES_FAIL;
}

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ignored;
    return fs::equivalent(a, b, ignored);
}

Result AddFolder(CPakWriter* writer, const fs::path& folder, const fs::path& pakPath, std::string* error)
{
    std::error_code failure;
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(folder, failure), end; !failure && it != end; it.increment(failure)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored) && !SameFile(it->path(), pakPath))
            files.push_back(it->path());
    }
    if (failure)
        return Fail(error, "cannot read folder " + folder.string() + ": " + failure.message());
    for (const fs::path& file : files) {
        if (Failed(writer->AddFile(file.lexically_relative(folder).generic_string(), file.string())))
            return Fail(error, writer->LastError());
    }
    return RES_OK;
}

// The entry name as a relative path inside the output folder, or empty when it would leave it.
fs::path SafeRelativePath(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    fs::path relative(name);
    if (name.empty() || relative.is_absolute() || name.front() == '/')
        return {};
    for (const fs::path& part : relative) {
        if (part == "..")
            return {};
    }
    return relative;
}

Result ExtractEntry(std::ifstream& pak, const PakIndexEntry& entry, const fs::path& folder, std::string* error)
{
    // The file system would cut such a name short: its data would land under another name.
    if (entry.name.find('\0') != std::string::npos)
        return Fail(error, "refusing to extract an entry whose name holds a NUL byte: " + std::string(entry.name.c_str()));
    fs::path relative = SafeRelativePath(entry.name);
    if (relative.empty())
        return Fail(error, "refusing to extract an entry outside the folder: " + entry.name);
    fs::path target = folder / relative;
    std::error_code ignored;
    fs::create_directories(target.parent_path(), ignored);
    std::string data(entry.size, '\0');
    pak.seekg(static_cast<std::streamoff>(entry.dataOffset));
    pak.read(data.data(), entry.size);
    if (!pak)
        return Fail(error, "cannot read entry " + entry.name);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out)
        return Fail(error, "cannot write " + target.string());
    return RES_OK;
}

int Usage(FILE* err)
{
    fputs("usage: vdpak pack PAK INPUT...        pack folders (files named by their path inside) and files\n"
          "       vdpak list PAK                  list the entries: size and name\n"
          "       vdpak extract PAK FOLDER [NAME...]  extract every entry, or the named ones\n",
          err);
    return 2;
}

} // namespace

Result PackInputs(const std::string& pakPath, const std::vector<std::string>& inputs, std::string* error)
{
    CPakWriter writer;
    for (const std::string& input : inputs) {
        std::error_code ignored;
        Result result = RES_OK;
        if (fs::is_directory(input, ignored))
            result = AddFolder(&writer, input, pakPath, error);
        else if (fs::is_regular_file(input, ignored))
            result = Failed(writer.AddFile(fs::path(input).filename().string(), input)) ? Fail(error, writer.LastError())
                                                                                         : RES_OK;
        else
            result = Fail(error, "no such file or folder: " + input);
        if (Failed(result))
            return result;
    }
    return Failed(writer.Write(pakPath)) ? Fail(error, writer.LastError()) : RES_OK;
}

Result ListPak(const std::string& pakPath, std::string* listing, std::string* error)
{
    std::vector<PakIndexEntry> entries;
    Result result = ReadPakIndex(pakPath, 0, &entries, error);
    listing->clear();
    for (const PakIndexEntry& entry : entries)
        *listing += std::to_string(entry.size) + "  " + entry.name + "\n";
    return result;
}

Result ExtractPak(const std::string& pakPath, const std::string& folder, const std::vector<std::string>& names,
                  std::string* error)
{
    std::vector<PakIndexEntry> entries;
    if (Failed(ReadPakIndex(pakPath, 0, &entries, error)))
        return RES_FAIL;
    for (const std::string& name : names) {
        auto named = [&](const PakIndexEntry& entry) { return PakNamesEqual(entry.name, name); };
        if (std::none_of(entries.begin(), entries.end(), named))
            return Fail(error, "no entry named " + name);
    }
    std::ifstream pak(pakPath, std::ios::binary);
    for (const PakIndexEntry& entry : entries) {
        auto wanted = [&](const std::string& name) { return PakNamesEqual(entry.name, name); };
        if (!names.empty() && std::none_of(names.begin(), names.end(), wanted))
            continue;
        if (Failed(ExtractEntry(pak, entry, folder, error)))
            return RES_FAIL;
    }
    return RES_OK;
}

int RunPakTool(int argc, const char* const* argv, FILE* out, FILE* err)
{
    if (argc < 3)
        return Usage(err);
    std::string command = argv[1];
    std::string pak = argv[2];
    std::vector<std::string> rest(argv + 3, argv + argc);
    std::string error;
    Result result = RES_OK;
    if (command == "pack" && !rest.empty()) {
        result = PackInputs(pak, rest, &error);
    } else if (command == "list" && rest.empty()) {
        std::string listing;
        result = ListPak(pak, &listing, &error);
        fputs(listing.c_str(), out);
    } else if (command == "extract" && !rest.empty()) {
        result = ExtractPak(pak, rest.front(), std::vector<std::string>(rest.begin() + 1, rest.end()), &error);
    } else {
        return Usage(err);
    }
    if (Failed(result)) {
        fprintf(err, "vdpak: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
