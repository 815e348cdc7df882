#include "core/FileSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
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
