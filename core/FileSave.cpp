#include "core/FileSave.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "base/FileSystem.h"
#include "core/Stream.h"

namespace {

// Writes to a file the saver opened; the saver flushes, syncs and closes it.
class CStreamOpenFile : public CStream {
public:
    explicit CStreamOpenFile(FILE* file) : CStream(kStreamWrite), m_file(file) {}

    Result Open() override { return RES_OK; }
    Result Close() override { return RES_OK; }
    bool Write(const void* buffer, uint32_t elementSize, uint32_t count) override
    {
        if (uint64_t(elementSize) * count == 0)
            return true;
        return buffer && fwrite(buffer, elementSize, count, m_file) == count;
    }

private:
    FILE* m_file;
};

// Mode for the new file: the replaced file's, else read-write for everybody the umask allows.
mode_t NewFileMode(const std::string& target)
{
    struct stat info;
    if (stat(target.c_str(), &info) == 0)
        return info.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes the content into the temporary file and syncs it; true when every byte reached the disk.
bool WriteAndSync(FILE* file, const FileContentWriter& write)
{
    CStreamOpenFile stream(file);
    return write(stream) && fflush(file) == 0 && fsync(fileno(file)) == 0;
}

// Makes the rename itself durable. A folder that cannot be synced does not undo the save.
void SyncFolder(const std::string& folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

constexpr char kDamagedSuffix[] = ".damaged";
constexpr char kSaveSuffix[] = ".sav.";
constexpr size_t kTemporaryUnits = 6;  // the XXXXXX of mkstemp

bool IsTemporaryLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// "<name>.sav." followed by the six letters mkstemp chose.
bool IsSaveTemporaryName(const std::string& name)
{
    const size_t suffix = sizeof(kSaveSuffix) - 1;
    if (name.size() <= suffix + kTemporaryUnits)
        return false;
    const size_t letters = name.size() - kTemporaryUnits;
    if (name.compare(letters - suffix, suffix, kSaveSuffix) != 0)
        return false;
    for (size_t i = letters; i < name.size(); ++i) {
        if (!IsTemporaryLetter(name[i]))
            return false;
    }
    return true;
}

} // namespace

Result SaveFileReplacing(const char16_t* path, const FileContentWriter& write)
{
    if (!path || !*path || !write)
        return RES_FAIL;
    std::string target = ResolvePath(path);
    std::string temporary = target + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0)
        return RES_FAIL;
    FILE* file = fdopen(fd, "wb");
    if (!file)
        close(fd);
    bool ok = file && fchmod(fd, NewFileMode(target)) == 0 && WriteAndSync(file, write);
    if (file)
        ok = fclose(file) == 0 && ok;
    if (!ok || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return RES_FAIL;
    }
    SyncFolder(FolderOf(target));
    return RES_OK;
}

Result KeepDamagedFile(const char16_t* path, std::string* kept)
{
    if (!path || !*path)
        return RES_FAIL;
    const std::string damaged = ResolvePath(path);
    const std::string copy = damaged + kDamagedSuffix;
    struct stat info;
    if (lstat(damaged.c_str(), &info) != 0)
        return RES_FAIL;
    std::error_code error;
    if (lstat(copy.c_str(), &info) == 0)
        std::filesystem::remove_all(copy, error);
    if (rename(damaged.c_str(), copy.c_str()) != 0)
        return RES_FAIL;
    SyncFolder(FolderOf(copy));
    if (kept)
        *kept = copy;
    return RES_OK;
}

bool IsOtherThanFile(const char16_t* path)
{
    struct stat info;
    return path && *path && stat(ResolvePath(path).c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

unsigned RemoveStaleSaveTemporaries(const char16_t* folder, time_t before)
{
    if (!folder || !*folder)
        return 0;
    const std::string path = ResolvePath(folder);
    DIR* entries = opendir(path.c_str());
    if (!entries)
        return 0;
    unsigned removed = 0;
    while (const dirent* entry = readdir(entries)) {
        const std::string name = entry->d_name;
        struct stat info;
        if (!IsSaveTemporaryName(name) || fstatat(dirfd(entries), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_mtime >= before)
            continue;
        if (unlinkat(dirfd(entries), name.c_str(), 0) == 0)
            ++removed;
    }
    closedir(entries);
    return removed;
}

bool CanCreateFileIn(const char16_t* folder)
{
    if (!folder || !*folder)
        return false;
    std::string probe = ResolvePath(folder) + "/.probe.XXXXXX";
    int fd = mkstemp(probe.data());
    if (fd < 0)
        return false;
    close(fd);
    unlink(probe.c_str());
    return true;
}
