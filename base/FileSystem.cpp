#include "base/FileSystem.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <vector>

namespace {

std::vector<std::string> SplitComponents(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool Exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

// Finds an entry of folder whose name equals name without regard to ASCII case.
bool FindNoCase(const std::string& folder, const std::string& name, std::string& found)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    bool matched = false;
    while (struct dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            matched = true;
            break;
        }
    }
    closedir(dir);
    return matched;
}

// A folder opens for reading on Linux and a pipe blocks its opener: only regular files open.
FILE* OpenRegularFile(const std::string& path, const char* mode)
{
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        return nullptr;
    return fopen(path.c_str(), mode);
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (folder == "/")
        return "/" + name;
    return folder + "/" + name;
}

} // namespace

std::string NormalizePath(const std::string& path)
{
    std::string slashed = path;
    for (char& c : slashed) {
        if (c == '\\')
            c = '/';
    }
    bool absolute = !slashed.empty() && slashed[0] == '/';
    bool trailingSlash = !slashed.empty() && slashed.back() == '/';
    std::vector<std::string> kept;
    for (const std::string& part : SplitComponents(slashed)) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!kept.empty() && kept.back() != "..")
                kept.pop_back();
            else if (!absolute)
                kept.push_back(part);
            continue;
        }
        kept.push_back(part);
    }
    std::string out = absolute ? "/" : "";
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i)
            out += '/';
        out += kept[i];
    }
    if (out.empty())
        return absolute ? "/" : ".";
    if (trailingSlash && out != "/")
        out += '/';
    return out;
}

std::string ResolvePath(const std::string& path)
{
    std::string normal = NormalizePath(path);
    if (Exists(normal))
        return normal;
    bool absolute = normal[0] == '/';
    std::string resolved = absolute ? "/" : "";
    bool lost = false;
    for (const std::string& part : SplitComponents(normal)) {
        if (part.empty())
            continue;
        std::string exact = Join(resolved, part);
        std::string found;
        if (lost || part == ".." || Exists(exact) || !FindNoCase(resolved, part, found)) {
            resolved = exact;
            lost = lost || (part != ".." && !Exists(exact));
        } else {
            resolved = Join(resolved, found);
        }
    }
    if (normal.back() == '/' && resolved.back() != '/')
        resolved += '/';
    return resolved;
}

std::string ResolvePath(const char16_t* path)
{
    return ResolvePath(Utf16ToUtf8(path));
}

FILE* OpenFile(const char* path, const char* mode)
{
    if (!path || !*path || !mode)
        return nullptr;
    return OpenRegularFile(ResolvePath(std::string(path)), mode);
}

FILE* OpenFile(const char16_t* path, const char* mode)
{
    if (!path || !*path || !mode)
        return nullptr;
    return OpenRegularFile(ResolvePath(path), mode);
}

bool FileExists(const char16_t* path)
{
    return path && *path && Exists(ResolvePath(path));
}

long long FileSizeOf(FILE* file)
{
    struct stat info;
    if (!file || fstat(fileno(file), &info) != 0)
        return -1;
    return static_cast<long long>(info.st_size);
}
